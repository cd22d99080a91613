// What the main frame and the application call of the folder-tree bar.
#pragma once

// Remembers the file selected in the tree (key DlgBarFileName) at close.
void SaveExplorerSelection();
// Reopens the remembered file at start.
void RestoreExplorerSelection();
