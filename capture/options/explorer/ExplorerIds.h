// Resource ids of the folder-tree bar (its template and tree are the
// program's IDD_EXPLORER_BAR and IDC_EXPLORER_TREE).
#pragma once

#define IDS_CANNOT_DELETE_FOLDERS 33050   // "You can't delete folders in Kaptura Explorer."
