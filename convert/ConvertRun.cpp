// The conversion run: every selected input file through the format library
// into the output folder, one result row each, until the list ends or Stop.
#include "ConvertDialog.h"

#include <algorithm>

#include "ConvertFile.h"
#include "WinApp.h"
#include "resource.h"

namespace {

// The controls a run must not see change under it.
const int kInputControls[] = {IDC_INPUT_TREE, IDC_INPUT_LIST, IDC_OUTPUT_TREE, IDC_INPUT_FORMAT,
                              IDC_OUTPUT_FORMAT, IDC_SELECT_ALL, IDOK};

// How often a run brings its lists and count up to date. Each update costs
// the lists a scroll and a repaint whatever the rows it adds, tens of
// milliseconds on a slow display, so the wait after one is kShowCostShare
// times what it took, within bounds: the lists take about a twentieth of the
// run at most and still show progress every two seconds. Between updates a
// file costs the dialog a look at its message queue and nothing more.
const DWORD kShowEveryMs = 500;
const DWORD kShowAtMostEveryMs = 2000;
const DWORD kShowCostShare = 20;

}  // namespace

bool XDialogConvert::NoCaseLess::operator()(const std::string& a, const std::string& b) const
{
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

void XDialogConvert::OnOK()
{
    if (converting_)
        return;
    if (inputList_.GetSelectedCount() == 0) {
        AfxMessageBox("No files selected.");
        return;
    }
    RunConversion();
    if (closeAfterRun_)
        EndDialog(IDCANCEL);
}

void XDialogConvert::RunConversion()
{
    SetConverting(true);
    detailsList_.DeleteAllItems();
    const OutputFormat& format = kOutputFormats[settings_.outputFormat];
    stopRequested_ = false;
    animation_.Open(IDR_CONVERT_CLIP);
    listedOutputs_.clear();
    for (int row = 0; row < outputList_.GetItemCount(); ++row)
        listedOutputs_.insert(outputList_.GetItemText(row, 0).GetString());
    shownAt_ = GetTickCount();
    showWaitMs_ = kShowEveryMs;

    for (int row = 0; row < inputList_.GetItemCount() && !stopRequested_; ++row) {
        if (!(inputList_.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        std::string name = inputList_.GetItemText(row, 0).GetString();
        std::string outputName = OutputFileName(name, format.extension);
        RecordResult(ConvertImageFile(JoinPath(inputDirectory_.GetString(), name),
                                      JoinPath(outputDirectory_.GetString(), outputName), format.exportType),
                     outputName);
        const DWORD now = GetTickCount();
        const bool show = now - shownAt_ >= showWaitMs_;
        if (show)
            ShowPendingResults();
        // Stop and the window's own upkeep between files, failed ones too;
        // after an update, the lists' repaint.
        PumpMessages();
        if (show)
            PlanNextShow(now);
    }
    ShowPendingResults();

    animation_.Stop();
    animation_.Close();
    animation_.Invalidate();
    SetConverting(false);
}

void XDialogConvert::SetConverting(bool converting)
{
    converting_ = converting;
    // The focus leaves a control before it goes dead: Stop while running,
    // the input list afterwards.
    if (converting)
        GotoDlgCtrl(GetDlgItem(IDC_STOP));
    GetDlgItem(IDC_STOP)->EnableWindow(converting);
    for (int id : kInputControls)
        GetDlgItem(id)->EnableWindow(!converting);
    if (!converting) {
        GotoDlgCtrl(&inputList_);
        ShowInputCounts();
    }
}

// A file written again is not listed twice.
void XDialogConvert::RecordResult(const ConvertResult& result, const std::string& outputName)
{
    if (result.converted && listedOutputs_.insert(outputName).second)
        pendingOutputs_.push_back(outputName);
    pendingRows_.push_back(result);
}

// An update that began at `start` and has been painted.
void XDialogConvert::PlanNextShow(DWORD start)
{
    shownAt_ = GetTickCount();
    showWaitMs_ = std::min(kShowAtMostEveryMs, std::max(kShowEveryMs, kShowCostShare * (shownAt_ - start)));
}

// The rows and names gathered since the last time go in with the lists'
// drawing held, then each list scrolls once to its last row.
void XDialogConvert::ShowPendingResults()
{
    if (!pendingRows_.empty()) {
        detailsList_.SetRedraw(FALSE);
        for (const ConvertResult& result : pendingRows_)
            AddDetailsRow(result.from.c_str(), result.to.c_str(), result.status.c_str());
        detailsList_.SetRedraw(TRUE);
        detailsList_.EnsureVisible(detailsList_.GetItemCount() - 1, FALSE);
        pendingRows_.clear();
    }
    if (!pendingOutputs_.empty()) {
        outputList_.SetRedraw(FALSE);
        for (const std::string& name : pendingOutputs_)
            outputList_.InsertItem(outputList_.GetItemCount(), name.c_str(), 4);   // the file image
        outputList_.SetRedraw(TRUE);
        outputList_.EnsureVisible(outputList_.GetItemCount() - 1, FALSE);
        pendingOutputs_.clear();
        ShowOutputCount();
    }
}

void XDialogConvert::AddDetailsRow(LPCSTR from, LPCSTR to, LPCSTR status)
{
    int row = detailsList_.InsertItem(detailsList_.GetItemCount(), from);
    if (row < 0)
        return;
    detailsList_.SetItemText(row, 1, to);
    detailsList_.SetItemText(row, 2, status);
}

void XDialogConvert::OnStop()
{
    stopRequested_ = true;
    GetDlgItem(IDC_STOP)->EnableWindow(FALSE);
}

// Exit during a run stops it after the current file, then closes.
void XDialogConvert::OnCancel()
{
    if (!converting_) {
        CDialog::OnCancel();
        return;
    }
    closeAfterRun_ = true;
    OnStop();
}

void XDialogConvert::PumpMessages()
{
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (!::IsDialogMessageA(m_hWnd, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}
