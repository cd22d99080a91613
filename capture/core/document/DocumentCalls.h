// What the application and the main frame call of the image documents.
#pragma once

#ifdef _WIN32
#include <windows.h>

class CMultiDocTemplate;
class CMDIChildWnd;
class DisplayImage;

// The multiple-document template of the image documents (resource 3): the
// document, its child frame, no view class.
CMultiDocTemplate* CreateImageDocTemplate();
// Opens the work image as a new document that adopts it, or shows the work
// image's status text when it has no pixels.
void OpenWorkImageAsDocument();
// The top image of an image window's document, or null for other windows.
DisplayImage* TopImageOfChildFrame(CMDIChildWnd* frame);
// How many image documents are open.
int OpenImageDocumentCount();
#endif
