// Stand-in definitions for the folder-tree bar until its own files land:
// the bar is a plain dialog bar without a tree, so there is no selection to
// keep or restore. Delete this file when the folder-tree bar is built.
#include "ExplorerBarCalls.h"

void SaveExplorerSelection() {}
void RestoreExplorerSelection() {}
