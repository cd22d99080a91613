// The dialog's set-up, its folder trees, file lists, counts and details area.
#include "ConvertDialog.h"

#include "WinApp.h"
#include "Win32Folders.h"
#include "resource.h"

namespace {

// Images of the shared image list.
enum { kImageComputer, kImageDrive, kImageFolder, kImageOpenFolder, kImageFile };

// Adds listed folders to a tree control, sorted, with the folder images.
class TreeSink : public FolderTreeSink {
public:
    explicit TreeSink(CTreeCtrl& tree) : tree_(tree) {}
    FolderItem AddFolder(FolderItem parent, const std::string& name) override
    {
        return reinterpret_cast<FolderItem>(tree_.InsertItem(name.c_str(), kImageFolder, kImageOpenFolder,
                                                             reinterpret_cast<HTREEITEM>(parent), TVI_SORT));
    }

private:
    CTreeCtrl& tree_;
};

Win32FolderSource g_folders;

}  // namespace

BEGIN_MESSAGE_MAP(XDialogConvert, CDialog)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(IDC_DETAILS, OnDetails)
    ON_BN_CLICKED(IDC_HELP_BUTTON, OnHelp)
    ON_CBN_SELCHANGE(IDC_INPUT_FORMAT, OnSelChangeInputFormat)
    ON_CBN_SELCHANGE(IDC_OUTPUT_FORMAT, OnSelChangeOutputFormat)
    ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_INPUT_TREE, OnItemExpandingInputTree)
    ON_NOTIFY(TVN_ITEMEXPANDINGW, IDC_INPUT_TREE, OnItemExpandingInputTree)
    ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_OUTPUT_TREE, OnItemExpandingOutputTree)
    ON_NOTIFY(TVN_ITEMEXPANDINGW, IDC_OUTPUT_TREE, OnItemExpandingOutputTree)
    ON_NOTIFY(TVN_SELCHANGINGA, IDC_INPUT_TREE, OnSelChangingInputTree)
    ON_NOTIFY(TVN_SELCHANGINGW, IDC_INPUT_TREE, OnSelChangingInputTree)
    ON_NOTIFY(TVN_SELCHANGINGA, IDC_OUTPUT_TREE, OnSelChangingOutputTree)
    ON_NOTIFY(TVN_SELCHANGINGW, IDC_OUTPUT_TREE, OnSelChangingOutputTree)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_INPUT_TREE, OnSelChangedTree)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_INPUT_TREE, OnSelChangedTree)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_OUTPUT_TREE, OnSelChangedTree)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_OUTPUT_TREE, OnSelChangedTree)
    ON_NOTIFY(TVN_ITEMEXPANDEDA, IDC_INPUT_TREE, OnItemExpandedTree)
    ON_NOTIFY(TVN_ITEMEXPANDEDW, IDC_INPUT_TREE, OnItemExpandedTree)
    ON_NOTIFY(TVN_ITEMEXPANDEDA, IDC_OUTPUT_TREE, OnItemExpandedTree)
    ON_NOTIFY(TVN_ITEMEXPANDEDW, IDC_OUTPUT_TREE, OnItemExpandedTree)
    ON_MESSAGE(WM_FOLLOW_TREE_SELECTIONS, OnFollowTreeSelections)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_INPUT_LIST, OnItemChangedInputList)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

XDialogConvert::XDialogConvert(const ConvertSettings& settings, CWnd* parent)
    : CDialog(IDD_CONVERT, parent), settings_(settings)
{
    icon_ = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

BOOL XDialogConvert::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString aboutText;
    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        if (aboutText.LoadString(IDS_ABOUTBOX) && !aboutText.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }
    SetIcon(icon_, TRUE);
    SetIcon(icon_, FALSE);
    images_.Create(IDB_FOLDER_IMAGES, 16, 0, RGB(255, 255, 255));

    inputTree_.SubclassDlgItem(IDC_INPUT_TREE, this);
    outputTree_.SubclassDlgItem(IDC_OUTPUT_TREE, this);
    inputList_.SubclassDlgItem(IDC_INPUT_LIST, this);
    outputList_.SubclassDlgItem(IDC_OUTPUT_LIST, this);
    detailsList_.SubclassDlgItem(IDC_DETAILS_LIST, this);
    inputFormat_.SubclassDlgItem(IDC_INPUT_FORMAT, this);
    outputFormat_.SubclassDlgItem(IDC_OUTPUT_FORMAT, this);
    animation_.SubclassDlgItem(IDC_CONVERT_ANIMATION, this);

    for (int i = 0; i < kInputFormatCount; ++i)
        inputFormat_.AddString(kInputFormats[i].text);
    inputFormat_.SetCurSel(settings_.inputFormat);
    for (int i = 0; i < kOutputFormatCount; ++i)
        outputFormat_.AddString(kOutputFormats[i].text);
    outputFormat_.SetCurSel(settings_.outputFormat);

    for (CListCtrl* list : {&inputList_, &outputList_}) {
        list->SetImageList(&images_, LVSIL_SMALL);
        list->InsertColumn(0, "File Name", LVCFMT_LEFT, 160);
    }
    detailsList_.InsertColumn(0, "From", LVCFMT_LEFT, 298);
    detailsList_.InsertColumn(1, "To", LVCFMT_LEFT, 298);
    detailsList_.InsertColumn(2, "Status", LVCFMT_LEFT, 106);

    for (CTreeCtrl* tree : {&inputTree_, &outputTree_}) {
        tree->SetImageList(&images_, TVSIL_NORMAL);
        FillDriveTree(*tree);
    }

    GetDlgItem(IDC_STOP)->EnableWindow(FALSE);
    CRect window, details;
    GetWindowRect(&window);
    detailsList_.GetWindowRect(&details);
    fullHeight_ = window.Height();
    collapsedHeight_ = details.top - window.top;
    ShowDetails();
    return TRUE;
}

// ---- Folder trees ---------------------------------------------------------------

void XDialogConvert::FillDriveTree(CTreeCtrl& tree)
{
    HTREEITEM root = tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE, "My Computer",
                                     kImageComputer, kImageComputer, TVIS_EXPANDED, TVIS_EXPANDED, 0, TVI_ROOT,
                                     TVI_SORT);
    folders_.Clear();
    HTREEITEM systemDrive = nullptr;
    for (char letter = 'Z'; letter >= 'C'; --letter) {
        char rootPath[] = {letter, ':', '\\', 0};
        UINT type = GetDriveTypeA(rootPath);
        if (type < DRIVE_REMOVABLE || type > DRIVE_RAMDISK)
            continue;
        char name[] = {letter, ':', 0};
        bool isSystem = letter == 'C';
        HTREEITEM item = tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE, name, kImageDrive,
                                         kImageDrive, isSystem ? TVIS_EXPANDED : 0, TVIS_EXPANDED, 0, root, TVI_SORT);
        if (!item)
            continue;
        folders_.Push(reinterpret_cast<FolderItem>(item), name, isSystem ? 2 : 1);
        if (isSystem)
            systemDrive = item;
    }
    if (systemDrive)
        tree.SelectItem(systemDrive);
    ListPendingFolders(tree, false);
}

void XDialogConvert::ListPendingFolders(CTreeCtrl& tree, bool pump)
{
    TreeSink sink(tree);
    listingFolders_ = true;
    while (!folders_.Empty()) {
        if (pump)
            PumpMessages();
        folders_.ListNext(g_folders, sink);
    }
    listingFolders_ = false;
}

void XDialogConvert::RelistFolder(CTreeCtrl& tree, HTREEITEM item)
{
    // A listing under way keeps what it has: its pending items must live.
    if (!item || item == tree.GetRootItem() || listingFolders_)
        return;
    DeleteTreeChildren(tree, item);
    folders_.Push(reinterpret_cast<FolderItem>(item), GetTreeItemPath(tree, item).GetString(), 2);
    ListPendingFolders(tree, true);
}

// Deleting an item deletes everything below it, so taking away each child
// in turn leaves the item and its siblings as they were, however wide or
// deep the tree.
void XDialogConvert::DeleteTreeChildren(CTreeCtrl& tree, HTREEITEM item)
{
    while (HTREEITEM child = tree.GetChildItem(item))
        if (!tree.DeleteItem(child))
            break;
}

CString XDialogConvert::GetTreeItemPath(const CTreeCtrl& tree, HTREEITEM item)
{
    CString path = tree.GetItemText(item);
    for (HTREEITEM parent = tree.GetParentItem(item); parent && tree.GetParentItem(parent);
         parent = tree.GetParentItem(parent))
        path = tree.GetItemText(parent) + "\\" + path;
    return path;
}

void XDialogConvert::OnItemExpandingInputTree(NMHDR* header, LRESULT* result)
{
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    if (change->action != TVE_COLLAPSE)
        RelistFolder(inputTree_, change->itemNew.hItem);
    *result = 0;
}

void XDialogConvert::OnItemExpandingOutputTree(NMHDR* header, LRESULT* result)
{
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    if (change->action != TVE_COLLAPSE)
        RelistFolder(outputTree_, change->itemNew.hItem);
    *result = 0;
}

void XDialogConvert::FollowTreeItem(CTreeCtrl& tree, HTREEITEM item, CString& directory, bool input)
{
    if (!item)
        return;
    CString path = GetTreeItemPath(tree, item);
    if (path.CompareNoCase(directory) == 0)
        return;
    directory = path;
    if (input)
        ListInputFiles();
    else
        ListOutputFiles();
}

void XDialogConvert::OnSelChangingInputTree(NMHDR* header, LRESULT* result)
{
    FollowTreeItem(inputTree_, reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem, inputDirectory_, true);
    *result = 0;
}

void XDialogConvert::OnSelChangingOutputTree(NMHDR* header, LRESULT* result)
{
    FollowTreeItem(outputTree_, reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem, outputDirectory_, false);
    *result = 0;
}

void XDialogConvert::OnSelChangedTree(NMHDR*, LRESULT* result)
{
    OnFollowTreeSelections(0, 0);
    *result = 0;
}

// A collapse moves the selection up to the collapsed folder without the
// selection notifications, and after this one: look once it is done.
void XDialogConvert::OnItemExpandedTree(NMHDR*, LRESULT* result)
{
    PostMessage(WM_FOLLOW_TREE_SELECTIONS);
    *result = 0;
}

LRESULT XDialogConvert::OnFollowTreeSelections(WPARAM, LPARAM)
{
    FollowTreeItem(inputTree_, inputTree_.GetSelectedItem(), inputDirectory_, true);
    FollowTreeItem(outputTree_, outputTree_.GetSelectedItem(), outputDirectory_, false);
    return 0;
}

// ---- File lists ------------------------------------------------------------------

void XDialogConvert::ListInputFiles()
{
    inputList_.DeleteAllItems();
    for (const std::string& name : ListFileNames(g_folders, inputDirectory_.GetString()))
        if (MatchesInputFormat(name.c_str(), settings_.inputFormat))
            inputList_.InsertItem(inputList_.GetItemCount(), name.c_str(), kImageFile);
    ShowInputCounts();
}

void XDialogConvert::ListOutputFiles()
{
    outputList_.DeleteAllItems();
    for (const std::string& name : ListFileNames(g_folders, outputDirectory_.GetString()))
        if (MatchesOutputFormat(name.c_str(), settings_.outputFormat))
            outputList_.InsertItem(outputList_.GetItemCount(), name.c_str(), kImageFile);
    ShowOutputCount();
}

void XDialogConvert::ShowInputCounts()
{
    CString text;
    int selected = static_cast<int>(inputList_.GetSelectedCount());
    text.Format("%d Listed, %d Selected", inputList_.GetItemCount(), selected);
    SetDlgItemText(IDC_INPUT_COUNTS, text);
    GetDlgItem(IDOK)->EnableWindow(selected > 0 && !converting_);
}

void XDialogConvert::ShowOutputCount()
{
    CString text;
    text.Format("Files in this format: %d", outputList_.GetItemCount());
    SetDlgItemText(IDC_OUTPUT_COUNT, text);
}

void XDialogConvert::OnItemChangedInputList(NMHDR*, LRESULT* result)
{
    ShowInputCounts();
    *result = 0;
}

void XDialogConvert::OnSelectAll()
{
    inputList_.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    inputList_.SetFocus();
}

void XDialogConvert::OnSelChangeInputFormat()
{
    int index = inputFormat_.GetCurSel();
    if (index == CB_ERR || index == settings_.inputFormat)
        return;
    settings_.inputFormat = index;
    ListInputFiles();
}

void XDialogConvert::OnSelChangeOutputFormat()
{
    int index = outputFormat_.GetCurSel();
    if (index == CB_ERR || index == settings_.outputFormat)
        return;
    settings_.outputFormat = index;
    ListOutputFiles();
}

// ---- Details, help, about and the minimised icon ----------------------------------

void XDialogConvert::OnDetails()
{
    settings_.detailsShown = settings_.detailsShown ? 0 : 1;
    ShowDetails();
}

void XDialogConvert::ShowDetails()
{
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, window.Width(), settings_.detailsShown ? fullHeight_ : collapsedHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetDlgItemText(IDC_DETAILS, settings_.detailsShown ? "&Details <<" : "&Details >>");
}

void XDialogConvert::OnHelp() { AfxGetApp()->WinHelp(reinterpret_cast<DWORD_PTR>("Batch Conversion"), HELP_KEY); }

void XDialogConvert::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CDialog about(IDD_ABOUTBOX, this);
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(id, lParam);
}

void XDialogConvert::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, icon_);
}

HCURSOR XDialogConvert::OnQueryDragIcon() { return static_cast<HCURSOR>(icon_); }
