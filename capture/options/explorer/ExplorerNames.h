// What the folder-tree bar decides without a window: which files it lists
// and the order of a folder's items.
#pragma once

#include <string>

// Tree item images, normal / selected: the computer 0, a drive 1 / 1, a
// folder 2 / 3, an image file 4 / 5. The normal image tells an item's kind.
enum ExplorerImage {
    kExplorerComputer = 0, kExplorerDrive = 1, kExplorerFolder = 2, kExplorerOpenFolder = 3,
    kExplorerImageFile = 4, kExplorerSelectedImageFile = 5
};

// A name whose text after its last "." is, ignoring case, one of bmp, clp,
// cur, dib, kpt, gif, ico, jpg, pcx, png, rle, tif, wpg.
bool IsImageFileName(const std::string& name);
// Sort order of two items of one folder: by image (folders before files),
// then by text ignoring case. Negative, zero or positive.
int CompareExplorerItems(int firstImage, const std::string& firstText, int secondImage,
                         const std::string& secondText);
