// Resource ids of the framework's frame and document tests.
#pragma once

#define IDR_KF_MAINFRAME 9001
#define IDR_KF_DOCTYPE 9002
#define IDD_KF_FORM 9003
#define IDD_KF_BAR 9004

#define ID_KF_STAMP 9101      // handled by the document
#define ID_KF_COUNT 9102      // handled by the main frame, accelerator Ctrl+T
#define ID_KF_NOBODY 9103     // handled by nobody
#define ID_KF_BAR_BUTTON 9104 // a dialog bar button handled by the frame
#define ID_KF_BAR_ORPHAN 9105 // a dialog bar button handled by nobody

#define IDS_KF_PANE_DOCS 9201
#define IDC_KF_FORM_EDIT 9301
#define IDC_KF_BAR_TREE 9302
