// The converter's one window: two folder trees, the input and output file
// lists, the format drop-downs, the result list and the conversion run.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ConvertFile.h"
#include "ConvertTables.h"
#include "Controls.h"
#include "Dialog.h"
#include "FolderWalk.h"

// Posted to the dialog: list the folders the trees show selected.
const UINT WM_FOLLOW_TREE_SELECTIONS = WM_APP + 1;

class XDialogConvert : public CDialog {
public:
    explicit XDialogConvert(const ConvertSettings& settings, CWnd* parent = nullptr);

    // The choices to remember when the dialog has ended.
    const ConvertSettings& Settings() const { return settings_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;       // Convert
    void OnCancel() override;   // Exit and the close box

    afx_msg void OnStop();
    afx_msg void OnSelectAll();
    afx_msg void OnDetails();
    afx_msg void OnHelp();
    afx_msg void OnSelChangeInputFormat();
    afx_msg void OnSelChangeOutputFormat();
    afx_msg void OnItemExpandingInputTree(NMHDR* header, LRESULT* result);
    afx_msg void OnItemExpandingOutputTree(NMHDR* header, LRESULT* result);
    afx_msg void OnSelChangingInputTree(NMHDR* header, LRESULT* result);
    afx_msg void OnSelChangingOutputTree(NMHDR* header, LRESULT* result);
    // The folders listed are the ones the trees show selected, whatever
    // moved the selection.
    afx_msg void OnSelChangedTree(NMHDR* header, LRESULT* result);
    afx_msg void OnItemExpandedTree(NMHDR* header, LRESULT* result);
    afx_msg LRESULT OnFollowTreeSelections(WPARAM, LPARAM);
    afx_msg void OnItemChangedInputList(NMHDR* header, LRESULT* result);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    DECLARE_MESSAGE_MAP()

private:
    // Folder trees.
    void FillDriveTree(CTreeCtrl& tree);
    void RelistFolder(CTreeCtrl& tree, HTREEITEM item);
    void ListPendingFolders(CTreeCtrl& tree, bool pump);
    static void DeleteTreeChildren(CTreeCtrl& tree, HTREEITEM item);
    static CString GetTreeItemPath(const CTreeCtrl& tree, HTREEITEM item);
    void FollowTreeItem(CTreeCtrl& tree, HTREEITEM item, CString& directory, bool input);
    // File lists and counts.
    void ListInputFiles();
    void ListOutputFiles();
    void ShowInputCounts();
    void ShowOutputCount();
    void ShowDetails();
    void AddDetailsRow(LPCSTR from, LPCSTR to, LPCSTR status);
    // The run.
    void RunConversion();
    void RecordResult(const ConvertResult& result, const std::string& outputName);
    void ShowPendingResults();
    void PlanNextShow(DWORD start);
    void SetConverting(bool converting);
    void PumpMessages();

    CImageList images_;
    CString inputDirectory_;
    CString outputDirectory_;
    FolderWalk folders_;
    bool listingFolders_ = false;
    bool stopRequested_ = false;
    bool converting_ = false;
    bool closeAfterRun_ = false;
    int fullHeight_ = 0;
    int collapsedHeight_ = 0;
    ConvertSettings settings_;
    HICON icon_ = nullptr;

    // What a run has done but the lists do not show yet: they are brought up
    // to date every half second to two seconds and at the end, not after
    // every file.
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::vector<ConvertResult> pendingRows_;
    std::vector<std::string> pendingOutputs_;
    std::set<std::string, NoCaseLess> listedOutputs_;   // output list rows, for the duplicate test
    DWORD shownAt_ = 0;
    DWORD showWaitMs_ = 0;   // from shownAt_ to the next update

    CTreeCtrl inputTree_, outputTree_;
    CListCtrl inputList_, outputList_, detailsList_;
    CComboBox inputFormat_, outputFormat_;
    CAnimateCtrl animation_;
};
