// What the image document and its view call of the parts around them: the
// geometry, merge, frame and cropping operations, the small dialogs, the
// Save As dialog, printing and the folder-tree bar. Operations follow the
// colour operations' rule (ColorOps.h): the source is never changed, the
// result is built in an empty image with its caption or error id as status.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>

#include "DisplayImage.h"

// ---- Geometry (Tool menu), merge, cropping ----
#include "ImageCrop.h"
#include "ImageFrame.h"
#include "ImageGeometry.h"
#include "MergeImages.h"

// The Scale dialog: starts with width, height, pixel mode and smooth; on OK
// (true) holds the choice.
struct ScaleChoice {
    int width;
    int height;
    int percentMode;   // 1: percentX and percentY apply
    int percentX;
    int percentY;
    int smooth;
};
bool RunScaleDialog(ScaleChoice& choice);

// ---- Frame ----
bool RunFrameDialog();

// ---- Small dialogs ----
bool RunBlackWhiteDialog();
void RunImageInfoDialog(const char* title, const DisplayImage& image);
// The Check Color dialog for colour; its result (1705: change the colour).
enum { kCheckColorChangeResult = 1705 };
int RunCheckColorDialog(COLORREF color);

// ---- Save As dialog ----
// The program's Save As dialog, starting in initialFolder (null: the last
// one): on OK (true) the chosen path is in FileNameSave and the chosen type
// in Format value 2.
bool RunSaveAsDialog(const char* initialFolder);
// The same dialog in capture-file mode (the Send To page's file button): on
// OK (true) the chosen path is in FileNameDirect and its type in Format
// value 3.
bool RunCaptureFileSaveAsDialog();

// ---- Printing ----
// mode 1: through the print dialog; 2: straight to the printer.
void PrintCurrentImage(int mode);
void PrintAllImages();
void PrintAllImagesOnOnePage();

// ---- Folder-tree bar ----
// Asks the user and deletes the image's file; true when it was deleted.
bool DeleteImageFileThroughExplorer(const char* path);
// An item for a file just written, under its folder's item and sorted in
// as the bar lists its items (folders first); the new item, or null.
HTREEITEM InsertFileItemThroughExplorer(HTREEITEM folder, const char* fileName);
#endif
