// The folder-tree bar's tree as the image windows use it: keeping its
// selection on the active image's file, adding files just saved, and the
// paths of its items. The root item stands for the computer, its children
// are drives ("C:"), below them folders and files (file items show images 4
// and 5).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// Set by the folder-tree bar while it opens a file itself, so that the new
// window's activation does not move the tree's selection.
extern int ExplorerOpeningFile;
inline bool ExplorerBusyOpening() { return ExplorerOpeningFile != 0; }
// Set while the image windows expand the tree's items themselves: the bar
// then lists the folders without pumping messages, since its callers
// (a window's activation in the middle of opening a document) must not have
// queued commands close that document under them.
extern int ExplorerWalkingTree;

enum { kExplorerFileImage = 4, kExplorerFileSelectedImage = 5 };

// The tree control of the main frame's folder-tree bar, or null.
HWND GetExplorerTree();
// Expands item and returns its first child named name (without regard to
// case), or null.
HTREEITEM FindChildItem(HWND tree, HTREEITEM item, const char* name);
bool IsFileItem(HWND tree, HTREEITEM item);
// "C:\folder\file" for an item: the texts from the drive down, the root's
// not included.
std::string ExplorerItemPath(HWND tree, HTREEITEM item);
// Selects (and drop-highlights) an item.
void SelectExplorerItem(HWND tree, HTREEITEM item);

// Walks the path from the root and selects the deepest item found.
void SelectFileInExplorer(const char* path);
// With a file selected, its folder becomes the selection.
void SelectExplorerFolder();
// Adds the file to its folder's items and selects it.
void AddSavedFileToExplorer(const char* path);
