// The conversion run: every selected input file through the format library
// into the output folder, one result row each, until the list ends or Stop.
#include "ConvertDialog.h"

#include "ConvertFile.h"
#include "WinApp.h"
#include "resource.h"

namespace {

// The controls a run must not see change under it.
const int kInputControls[] = {IDC_INPUT_TREE, IDC_INPUT_LIST, IDC_OUTPUT_TREE, IDC_INPUT_FORMAT,
                              IDC_OUTPUT_FORMAT, IDC_SELECT_ALL, IDOK};

}  // namespace

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

    for (int row = 0; row < inputList_.GetItemCount() && !stopRequested_; ++row) {
        if (!(inputList_.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        std::string name = inputList_.GetItemText(row, 0).GetString();
        std::string outputName = OutputFileName(name, format.extension);
        ConvertResult result = ConvertImageFile(JoinPath(inputDirectory_.GetString(), name),
                                                JoinPath(outputDirectory_.GetString(), outputName),
                                                format.exportType);
        if (result.converted)
            AddOutputFile(outputName.c_str());
        AddDetailsRow(result.from.c_str(), result.to.c_str(), result.status.c_str());
        // Stop and the window's own upkeep between files, failed ones too.
        PumpMessages();
    }

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
void XDialogConvert::AddOutputFile(const CString& name)
{
    LVFINDINFOA find{};
    find.flags = LVFI_STRING;   // whole text, without regard to case
    find.psz = name;
    if (outputList_.FindItem(&find) >= 0)
        return;
    int row = outputList_.InsertItem(outputList_.GetItemCount(), name, 4);
    outputList_.EnsureVisible(row, FALSE);
    ShowOutputCount();
}

void XDialogConvert::AddDetailsRow(LPCSTR from, LPCSTR to, LPCSTR status)
{
    int row = detailsList_.InsertItem(detailsList_.GetItemCount(), from);
    if (row < 0)
        return;
    detailsList_.SetItemText(row, 1, to);
    detailsList_.SetItemText(row, 2, status);
    detailsList_.EnsureVisible(row, FALSE);
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
