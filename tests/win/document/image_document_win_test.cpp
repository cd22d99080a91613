// The image documents in a test MDI frame under Wine: files opened with
// their notes, the work image adopted, Save As through the format library,
// failed saves and bad files. Message boxes are answered by a watcher
// thread that posts the answer, as a user would click it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "capture/core/app/CaptureApp.h"
#include "capture/core/image/ColorOps.h"
#include "capture/core/document/DocumentCalls.h"
#include "capture/core/document/DocumentOperationCalls.h"
#include "capture/core/document/ImageChildFrame.h"
#include "capture/core/document/ImageDoc.h"
#include "capture/core/document/ImageView.h"
#include "capture/core/document/NotepadForm.h"
#include "capture/core/document/NoteSideFile.h"
#include "capture/core/settings/Settings.h"
#include "capture/core/image/WorkImage.h"
#include "capture/core/app/resource.h"
#include "formats/DibHelpers.h"
#include "formats/Pictova.h"
#include "framework/DocTemplate.h"
#include "framework/kernel/ReplacingFile.h"
#include "framework/MdiFrame.h"

// ---- The program's services, as the test frame provides them -------------------

char HelpFilePath[MAX_PATH] = "";
int ModalBusy = 0;
DisplayImage* ImageToPrint = nullptr;

void ShowStringMessage(int stringId)
{
    CString text;
    text.LoadString(static_cast<UINT>(stringId));
    ::MessageBoxA(nullptr, text, "Kaptura 99", MB_OK);
}
void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
HWND MainFrameWindow() { return AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr; }

// The Save As dialog answers with what the test put in FileNameSave.
bool SaveAsAnswer = true;
bool RunSaveAsDialog(const char*) { return SaveAsAnswer; }

void ScaleImageUp(DisplayImage&, const DisplayImage&, int, int) {}
void ScaleImage(DisplayImage&, const DisplayImage&, int, int) {}
void FlipImageHorizontal(DisplayImage&, const DisplayImage&) {}
void FlipImageVertical(DisplayImage&, const DisplayImage&) {}
void RotateImageLeft(DisplayImage&, const DisplayImage&) {}
void RotateImageRight(DisplayImage&, const DisplayImage&) {}
bool RunScaleDialog(ScaleChoice&) { return false; }
void MergeImages(DisplayImage&, DisplayImage* const*, int) {}
void MergeImagesForPrint(DisplayImage&, DisplayImage* const*, int) {}
void AddImageFrame(DisplayImage&, const DisplayImage&) {}
bool RunFrameDialog() { return false; }
void CropImage(DisplayImage&, const DisplayImage&) {}
void EraseSelection(DisplayImage&, const DisplayImage&) {}
bool RunBlackWhiteDialog() { return false; }
void RunImageInfoDialog(const char*, const DisplayImage&) {}
int RunCheckColorDialog(COLORREF) { return IDCANCEL; }
void PrintCurrentImage(int) {}
void PrintAllImages() {}
void PrintAllImagesOnOnePage() {}
bool DeleteImageFileThroughExplorer(const char*) { return false; }
HTREEITEM InsertFileItemThroughExplorer(HTREEITEM, const char*) { return nullptr; }
void XImageView::ClipCursorToClient() {}
void XImageView::DragCropLine(CPoint) {}
bool XImageView::NudgeCropLines(UINT) { return false; }
COLORREF XImageView::PickColorAtCursor() { return 0; }
bool XImageView::ChangeColor(COLORREF) { return false; }

namespace {

// Answers every message box of this process with answer, keeping the texts.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int answer) : answer_(answer), thread_([this] { Run(); }) {}
    ~MessageBoxWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::string> Texts()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return texts_;
    }

private:
    void Run()
    {
        const DWORD self = GetCurrentProcessId();
        while (!stop_) {
            HWND box = nullptr;
            while ((box = FindWindowExA(nullptr, box, "#32770", nullptr))) {
                DWORD pid = 0;
                GetWindowThreadProcessId(box, &pid);
                if (pid != self || !IsWindowVisible(box) || box == answered_)
                    continue;
                char text[512] = "";
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                {
                    std::lock_guard<std::mutex> hold(lock_);
                    texts_.push_back(text);
                }
                answered_ = box;
                PostMessageA(box, WM_COMMAND, answer_, 0);
            }
            Sleep(30);
        }
    }
    int answer_;
    std::atomic<bool> stop_{false};
    HWND answered_ = nullptr;
    std::mutex lock_;
    std::vector<std::string> texts_;
    std::thread thread_;
};

std::string Scratch()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "kaptura-doc-tests\\";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// A 24-bit record with a pattern, written through the format library.
void WritePattern(const std::string& path, int type, int32_t width, int32_t height, const char* note = nullptr)
{
    ImageRecord record = {};
    record.width = width;
    record.height = height;
    record.bitCount = 24;
    CreateDibHeader(record);
    record.hBits = GlobalAlloc(GHND, GetDibImageSize(record));
    {
        BlockLock bits(record.hBits);
        const uint32_t stride = GetDibRowBytes(record);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                uint8_t* p = bits.data() + y * stride + 3 * x;
                p[0] = uint8_t(17 * x);
                p[1] = uint8_t(29 * y);
                p[2] = uint8_t(x ^ y);
            }
    }
    if (note) {
        record.noteLength = static_cast<int32_t>(strlen(note) + 1);
        record.hNote = GlobalAlloc(GHND, record.noteLength);
        BlockLock text(record.hNote);
        memcpy(text.data(), note, record.noteLength);
    }
    ExportImageFile(&record, path.c_str(), type);
    ASSERT_EQ(record.error, 0);
    FreeRecordBlocks(record);
}

std::vector<uint8_t> PixelsOf(const std::string& path, int* bits = nullptr)
{
    ImageRecord* returned = ImportImageFile(path.c_str());
    if (!returned || returned->error || !returned->hBits)
        return {};
    ImageRecord record = *returned;
    if (bits)
        *bits = record.bitCount;
    std::vector<uint8_t> bytes;
    {
        BlockLock lock(record.hBits);
        bytes.assign(lock.data(), lock.data() + GetDibImageSize(record));
    }
    FreeRecordBlocks(record);
    return bytes;
}

// The work image as an image operation leaves it: 8 x 6 at 24 bits, its
// pixels allocated, titled "Grayscale". False when the header cannot be made.
bool MakeGrayscaleResult()
{
    WorkImage->width = 8;
    WorkImage->height = 6;
    WorkImage->bitCount = 24;
    if (!WorkImage->CreateHeader())
        return false;
    WorkImage->hPixels = GlobalAlloc(GHND, WorkImage->GetBitsSize());
    WorkImage->status = kStatusGrayscale;
    return true;
}

// Types text into the notepad as the user would, over what it holds; the
// notepad is opened first when it is not shown.
void TypeNote(XImageDoc* doc, const char* text)
{
    XNotepadFormView* notepad = doc->FindNotepadView();
    if (!notepad || !notepad->shown)
        GetActiveImageChildFrame()->SendMessage(WM_COMMAND, ID_VIEW_NOTEPAD);
    CEdit& edit = doc->FindNotepadView()->noteEdit;
    edit.SetSel(0, -1);
    edit.SendMessage(WM_CLEAR);
    for (const char* at = text; *at; ++at)
        edit.SendMessage(WM_CHAR, static_cast<unsigned char>(*at), 1);
}

std::string NoteOf(const DisplayImage& image)
{
    if (!image.hNote)
        return "";
    BlockLock note(image.hNote);
    return note.data() ? std::string(reinterpret_cast<const char*>(note.data())) : "";
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        int c;
        while ((c = fgetc(file)) != EOF)
            bytes.push_back(static_cast<uint8_t>(c));
        fclose(file);
    }
    return bytes;
}

class ImageDocuments : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        app = new CWinApp("Kaptura 99");
        LoadScreenMetrics();
        LoadAllSettings();
        CreateWorkImage();
        frame = new CMDIFrameWnd;
        if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
            frame = nullptr;   // gone with its window
            FAIL() << "no frame window (is there a display?)";
        }
        app->m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        docTemplate = CreateImageDocTemplate();
        app->AddDocTemplate(docTemplate);
    }
    static void TearDownTestSuite()
    {
        app->CloseAllDocuments(TRUE);
        if (frame)
            frame->DestroyWindow();
        app->m_pMainWnd = nullptr;
        DeleteWorkImage();
    }
    void SetUp() override
    {
        dir = Scratch();
        Format[kFormatReduceOnSave] = 0;
        SaveAsAnswer = true;
    }
    void TearDown() override
    {
        docTemplate->CloseAllDocuments(TRUE);
        PumpMessages();
    }

    static int ChildCount()
    {
        int count = 0;
        for (HWND child = GetWindow(frame->m_hWndMDIClient, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            ++count;
        return count;
    }
    static XImageDoc* Open(const std::string& path)
    {
        CDocument* doc = docTemplate->OpenDocumentFile(path.c_str());
        PumpMessages();
        return DYNAMIC_DOWNCAST(XImageDoc, doc);
    }
    static void Command(XImageDoc* doc, UINT id)
    {
        XImageMDIChildWnd* child = GetActiveImageChildFrame();
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(child->GetActiveDocument(), doc);
        child->SendMessage(WM_COMMAND, id);
        PumpMessages();
    }
    static void SetSavePath(const std::string& path, int type)
    {
        lstrcpynA(FileNameSave, path.c_str(), sizeof FileNameSave);
        Format[kFormatSaveAs] = type;
    }

    static CWinApp* app;
    static CMDIFrameWnd* frame;
    static CMultiDocTemplate* docTemplate;
    std::string dir;
};

CWinApp* ImageDocuments::app = nullptr;
CMDIFrameWnd* ImageDocuments::frame = nullptr;
CMultiDocTemplate* ImageDocuments::docTemplate = nullptr;

TEST_F(ImageDocuments, BmpOpensInOneWindowWithItsSideNote)
{
    const std::string path = dir + "open.bmp";
    WritePattern(path, kTypeBmp, 40, 30);
    ASSERT_TRUE(WriteFileReplacing((dir + "open.txt").c_str(), "first\nsecond", 13));

    XImageDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(ChildCount(), 1);
    ASSERT_EQ(doc->images.size(), 1u);
    DisplayImage* image = doc->FirstImage();
    EXPECT_EQ(image->status, kStatusLoadedFromFile);
    EXPECT_STREQ(image->name, path.c_str());
    EXPECT_EQ(doc->canvasWidth, 40 + 2 * SendtoPage[kSendtoMarginX]);
    EXPECT_FALSE(doc->IsModified());

    XNotepadFormView* notepad = doc->FindNotepadView();
    ASSERT_NE(notepad, nullptr);
    EXPECT_STREQ(notepad->NoteText(), "first\r\nsecond");
    // The side note asks for the notepad to be shown.
    EXPECT_EQ(notepad->shown, 1);
}

TEST_F(ImageDocuments, WorkImageBecomesADocumentTitledByItsOrigin)
{
    ASSERT_TRUE(MakeGrayscaleResult());
    DisplayImage* adopted = WorkImage;
    OpenWorkImageAsDocument();
    PumpMessages();

    XImageDoc* doc = GetActiveImageDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FirstImage(), adopted);
    EXPECT_NE(WorkImage, adopted);
    EXPECT_EQ(WorkImage->hPixels, nullptr);
    EXPECT_STREQ(doc->GetTitle(), "Grayscale");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(OpenImageDocumentCount(), 1);

    // A work image without pixels opens nothing and shows its status.
    WorkImage->status = kStatusNoMemory;
    MessageBoxWatcher watcher(IDOK);
    OpenWorkImageAsDocument();
    PumpMessages();
    EXPECT_EQ(ChildCount(), 1);
    ASSERT_EQ(watcher.Texts().size(), 1u);
    EXPECT_EQ(watcher.Texts()[0], "Insufficient memory!");
}

TEST_F(ImageDocuments, SaveAsPngKeepsPixelsAndNote)
{
    const std::string source = dir + "plain.bmp";
    WritePattern(source, kTypeBmp, 33, 21);
    XImageDoc* doc = Open(source);
    ASSERT_NE(doc, nullptr);
    TypeNote(doc, "kept in the file");
    EXPECT_TRUE(doc->IsModified());

    const std::string target = dir + "saved.png";
    DeleteFileA(target.c_str());
    DeleteFileA((dir + "saved.txt").c_str());
    SetSavePath(target, kTypePng);
    Command(doc, ID_FILE_SAVE_AS);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_STREQ(doc->GetTitle(), target.c_str());
    EXPECT_EQ(doc->FirstImage()->status, kStatusLoadedFromFile);
    EXPECT_EQ(GetFileAttributesA((dir + "saved.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(PixelsOf(target), PixelsOf(source));

    docTemplate->CloseAllDocuments(TRUE);
    XImageDoc* reopened = Open(target);
    ASSERT_NE(reopened, nullptr);
    EXPECT_STREQ(reopened->FindNotepadView()->NoteText(), "kept in the file");
}

TEST_F(ImageDocuments, BmpNoteTravelsInTheSideFile)
{
    const std::string source = dir + "note-src.bmp";
    WritePattern(source, kTypeBmp, 5, 5);
    XImageDoc* doc = Open(source);
    ASSERT_NE(doc, nullptr);
    TypeNote(doc, "beside the image");
    const std::string target = dir + "note-out.bmp";
    SetSavePath(target, kTypeBmp);
    Command(doc, ID_FILE_SAVE_AS);
    std::vector<uint8_t> side = FileBytes(dir + "note-out.txt");
    ASSERT_EQ(side.size(), strlen("beside the image") + 1);
    EXPECT_EQ(side.back(), 0);

    docTemplate->CloseAllDocuments(TRUE);
    XImageDoc* reopened = Open(target);
    ASSERT_NE(reopened, nullptr);
    EXPECT_STREQ(reopened->FindNotepadView()->NoteText(), "beside the image");
}

// The note's side file held open by another program: the image is saved,
// the old side file stays as it was, and the user is told which file kept
// its old note.
TEST_F(ImageDocuments, HeldSideFileKeepsTheOldNoteAndIsReported)
{
    const std::string source = dir + "held-src.bmp";
    WritePattern(source, kTypeBmp, 6, 6);
    XImageDoc* doc = Open(source);
    ASSERT_NE(doc, nullptr);
    TypeNote(doc, "the new note");
    const std::string target = dir + "held.bmp";
    const std::string side = dir + "held.txt";
    ASSERT_TRUE(WriteFileReplacing(side.c_str(), "old note", 9));
    const std::vector<uint8_t> before = FileBytes(side);
    HANDLE held = CreateFileA(side.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    MessageBoxWatcher watcher(IDOK);
    SetSavePath(target, kTypeBmp);
    Command(doc, ID_FILE_SAVE_AS);
    CloseHandle(held);
    EXPECT_FALSE(PixelsOf(target).empty());
    EXPECT_EQ(FileBytes(side), before);
    EXPECT_STREQ(doc->GetTitle(), target.c_str());
    const std::vector<std::string> texts = watcher.Texts();
    ASSERT_EQ(texts.size(), 1u) << "the failed note was not reported";
    EXPECT_NE(texts[0].find("The note could not be written to " + side), std::string::npos) << texts[0];
}

TEST_F(ImageDocuments, BadFilesShowTheLibraryMessageAndOpenNothing)
{
    const std::string corrupt = dir + "corrupt.png";
    ASSERT_TRUE(WriteFileReplacing(corrupt.c_str(), "\x89PNG\r\n\x1a\nxxxx", 12));
    // A header that claims a picture far larger than memory allows.
    const std::string huge = dir + "huge.bmp";
    uint8_t header[54] = {'B', 'M'};
    header[10] = 54;
    header[14] = 40;
    *reinterpret_cast<int32_t*>(header + 18) = 100000;
    *reinterpret_cast<int32_t*>(header + 22) = 100000;
    header[26] = 1;
    header[28] = 24;
    ASSERT_TRUE(WriteFileReplacing(huge.c_str(), header, sizeof header));

    MessageBoxWatcher watcher(IDOK);
    EXPECT_EQ(Open(corrupt), nullptr);
    EXPECT_EQ(Open(huge), nullptr);
    EXPECT_EQ(Open(dir + "absent.bmp"), nullptr);
    EXPECT_EQ(ChildCount(), 0);
    EXPECT_EQ(OpenImageDocumentCount(), 0);
    EXPECT_EQ(watcher.Texts().size(), 3u);
}

TEST_F(ImageDocuments, FailedSaveKeepsTheOldFileAndTheModifiedFlag)
{
    const std::string source = dir + "keep-src.bmp";
    WritePattern(source, kTypeBmp, 12, 9);
    XImageDoc* doc = Open(source);
    ASSERT_NE(doc, nullptr);
    TypeNote(doc, "edited");
    ASSERT_TRUE(doc->IsModified());

    MessageBoxWatcher watcher(IDOK);
    SetSavePath(dir + "no-such-folder\\x.png", kTypePng);
    Command(doc, ID_FILE_SAVE_AS);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_STREQ(doc->GetTitle(), "keep-src.bmp");
    EXPECT_EQ(doc->FirstImage()->status, kStatusLoadedFromFile);

    // A file held open by another program stays as it was.
    const std::string locked = dir + "locked.bmp";
    WritePattern(locked, kTypeBmp, 3, 3);
    std::vector<uint8_t> before = FileBytes(locked);
    HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetSavePath(locked, kTypeBmp);
    Command(doc, ID_FILE_SAVE_AS);
    CloseHandle(held);
    EXPECT_EQ(FileBytes(locked), before);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(watcher.Texts().size(), 2u);
}

TEST_F(ImageDocuments, SaveAllNumbersTheDocumentsInOrder)
{
    for (const char* name : {"all-a.bmp", "all-b.bmp"}) {
        WritePattern(dir + name, kTypeBmp, 4, 4);
        ASSERT_NE(Open(dir + name), nullptr);
    }
    const std::string folder = dir + "set.v2\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetSavePath(folder + "shot.bmp", kTypeBmp);
    Command(GetActiveImageDoc(), ID_FILE_SAVE_ALL);
    EXPECT_FALSE(PixelsOf(folder + "shot1.bmp").empty());
    EXPECT_FALSE(PixelsOf(folder + "shot2.bmp").empty());
    EXPECT_EQ(GetFileAttributesA((folder + "shot3.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    XImageDoc* last = GetActiveImageDoc();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(std::string(last->GetTitle()).find(folder + "shot"), 0u);
}

TEST_F(ImageDocuments, SplitterKeepsTheNotepadBelowUntilAskedFor)
{
    const std::string path = dir + "split.bmp";
    DeleteFileA((dir + "split.txt").c_str());
    WritePattern(path, kTypeBmp, 10, 10);
    XImageDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    XImageMDIChildWnd* child = GetActiveImageChildFrame();
    ASSERT_NE(child, nullptr);
    ASSERT_NE(child->ImageView(), nullptr);
    // The notepad comes with the window, out of view.
    ASSERT_NE(child->NotepadView(), nullptr);
    EXPECT_EQ(child->NotepadView()->shown, 0);
    Command(doc, ID_VIEW_NOTEPAD);
    EXPECT_EQ(child->NotepadView()->shown, 1);
    Command(doc, ID_VIEW_NOTEPAD);
    EXPECT_EQ(child->NotepadView()->shown, 0);
}

// Dragging the splitter's bar up shows the notepad as View Notepad does:
// "Notes:" and the edit, never an empty pane.
TEST_F(ImageDocuments, DraggingTheSplitterBarUpShowsTheNotepad)
{
    const std::string path = dir + "drag-bar.bmp";
    DeleteFileA((dir + "drag-bar.txt").c_str());
    WritePattern(path, kTypeBmp, 10, 10);
    XImageDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    XImageMDIChildWnd* child = GetActiveImageChildFrame();
    ASSERT_NE(child, nullptr);
    CRect client;
    child->splitter.GetClientRect(&client);
    int imageHeight = 0, minimum = 0;
    child->splitter.GetRowInfo(0, imageHeight, minimum);
    ASSERT_GT(client.Height(), 120);
    const int barY = imageHeight + 2;   // inside the bar below the image
    child->splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, barY));
    child->splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, barY - 100));
    child->splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, barY - 100));
    PumpMessages();

    XNotepadFormView* notepad = child->NotepadView();
    ASSERT_NE(notepad, nullptr) << "the bar opened onto an empty pane";
    EXPECT_EQ(notepad->shown, 1);
    CRect pane;
    notepad->GetClientRect(&pane);
    EXPECT_GE(pane.Height(), 90);
    HWND label = FindWindowExA(notepad->m_hWnd, nullptr, "Static", "Notes:");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(IsWindowVisible(label));
    ASSERT_NE(notepad->noteEdit.m_hWnd, nullptr);
    EXPECT_TRUE(notepad->noteEdit.IsWindowVisible());
    CRect edit;
    notepad->noteEdit.GetWindowRect(&edit);
    EXPECT_GT(edit.Height(), 20);
    // View Notepad now hides it again: it knows the pane is shown.
    Command(doc, ID_VIEW_NOTEPAD);
    EXPECT_EQ(notepad->shown, 0);
}

// A capture's window shows no notepad until it is asked for: Paste Text
// opens it with the clipboard's text, and Save As keeps that note.
TEST_F(ImageDocuments, PastedTextOpensTheNotepadOfACaptureAndIsSaved)
{
    ASSERT_TRUE(MakeGrayscaleResult());
    OpenWorkImageAsDocument();
    PumpMessages();
    XImageDoc* doc = GetActiveImageDoc();
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->FindNotepadView(), nullptr);
    EXPECT_EQ(doc->FindNotepadView()->shown, 0);

    const char pasted[] = "pasted\r\nnote";
    ASSERT_TRUE(OpenClipboard(frame->m_hWnd));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
    {
        BlockLock lock(text);
        memcpy(lock.data(), pasted, sizeof pasted);
    }
    ASSERT_NE(SetClipboardData(CF_TEXT, text), nullptr);
    CloseClipboard();
    Command(doc, ID_EDIT_PASTE_TEXT);
    XNotepadFormView* notepad = doc->FindNotepadView();
    ASSERT_NE(notepad, nullptr);
    EXPECT_EQ(notepad->shown, 1);
    EXPECT_STREQ(notepad->NoteText(), pasted);

    const std::string target = dir + "pasted.png";
    SetSavePath(target, kTypePng);
    Command(doc, ID_FILE_SAVE_AS);
    EXPECT_FALSE(doc->IsModified());
    docTemplate->CloseAllDocuments(TRUE);
    XImageDoc* reopened = Open(target);
    ASSERT_NE(reopened, nullptr);
    EXPECT_STREQ(reopened->NoteText(), pasted);
}

// A merging document: the notepad always shows the first image's note, and
// what was typed for an image stays with that image. Clicking the first
// image puts it on top, at the end of the list; Delete Image then frees it.
TEST_F(ImageDocuments, NotepadFollowsTheFirstImageOfAMergingDocument)
{
    WritePattern(dir + "merge-a.png", kTypePng, 40, 30, "note of a");
    WritePattern(dir + "merge-b.png", kTypePng, 40, 30, "note of b");
    XImageDoc* b = Open(dir + "merge-b.png");
    ASSERT_NE(b, nullptr);
    DisplayImage dropped;
    ASSERT_TRUE(DuplicateImage(dropped, *b->FirstImage()));
    dropped.name = b->FirstImage()->name;
    XImageDoc* doc = Open(dir + "merge-a.png");
    ASSERT_NE(doc, nullptr);
    doc->AddImageCopy(dropped);
    PumpMessages();
    ASSERT_EQ(doc->images.size(), 2u);
    DisplayImage* a = doc->images[0];
    DisplayImage* copyOfB = doc->images[1];
    XNotepadFormView* notepad = doc->FindNotepadView();
    ASSERT_NE(notepad, nullptr);
    EXPECT_STREQ(notepad->NoteText(), "note of a");
    TypeNote(doc, "typed for a");

    // A click on the first image, outside the copy laid over it, with the
    // button already let go: the image comes to the top without moving.
    XImageView* view = doc->FindImageView();
    ASSERT_NE(view, nullptr);
    const POINT inside = {a->placement.left + SendtoPage[kSendtoMarginX] + 1,
                          a->placement.top + SendtoPage[kSendtoMarginY] + 1};
    view->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    PumpMessages();
    ASSERT_EQ(doc->TopImage(), a);
    ASSERT_EQ(doc->FirstImage(), copyOfB);
    EXPECT_STREQ(notepad->NoteText(), NoteTextForEdit(NoteOf(*copyOfB).c_str()));
    EXPECT_STREQ(NoteOf(*a).c_str(), "typed for a");
    EXPECT_TRUE(doc->IsModified());

    // Delete Image frees the top image; the notepad goes on with the first.
    TypeNote(doc, "typed for b");
    Command(doc, ID_EDIT_DELETE_IMAGE);
    ASSERT_EQ(doc->images.size(), 1u);
    EXPECT_STREQ(notepad->NoteText(), "typed for b");
    doc->StoreNoteText();
    EXPECT_STREQ(NoteOf(*copyOfB).c_str(), "typed for b");
    doc->UpdateAllViews(nullptr);
    EXPECT_STREQ(notepad->NoteText(), "typed for b");
}

// What the update handlers decide for a command of the active image
// window, asked as a menu asks: through the main frame's routing (the
// active window, its view, its document).
bool EnabledNow(CFrameWnd* frame, UINT id)
{
    struct Probe : CCmdUI {
        void Enable(BOOL on) override
        {
            enabled = on != FALSE;
            handled = true;
        }
        bool enabled = true;
        bool handled = false;
    } probe;
    probe.m_nID = id;
    frame->OnCmdMsg(id, static_cast<int>(CN_UPDATE_COMMAND_UI), &probe, nullptr);
    EXPECT_TRUE(probe.handled) << "no update handler for " << id;
    return probe.enabled;
}

// A work image of the given depth, opened as a new document.
XImageDoc* OpenImageOfDepth(int bitCount)
{
    WorkImage->width = 8;
    WorkImage->height = 6;
    WorkImage->bitCount = static_cast<uint16_t>(bitCount);
    if (!WorkImage->CreateHeader())
        return nullptr;
    WorkImage->hPixels = GlobalAlloc(GHND, WorkImage->GetBitsSize());
    WorkImage->status = kStatusGrayscale;
    OpenWorkImageAsDocument();
    PumpMessages();
    return GetActiveImageDoc();
}

// The Tool, Color and Crop commands and when they are enabled: with the
// document's images, their depth and the first image's selection.
struct CommandRule {
    UINT id;
    bool (*enabled)(int images, int bits, bool selectionShown, bool selectionDiffers);
};
const CommandRule kCommandRules[] = {
    {ID_TOOL_FRAME, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_ZOOM_IN, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_ZOOM_OUT, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_SCALE, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_FLIP_HORIZONTAL, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_FLIP_VERTICAL, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_ROTATE_LEFT, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_ROTATE_RIGHT, [](int n, int, bool, bool) { return n == 1; }},
    {ID_TOOL_MERGE_IMAGES, [](int n, int, bool, bool) { return n > 1; }},
    {ID_TOOL_SHOW_BORDER, [](int n, int, bool, bool) { return n > 1; }},
    {ID_TOOL_MERGE_BACKGROUND, [](int n, int, bool, bool) { return n > 1; }},
    {ID_COLOR_BLACK_WHITE, [](int n, int bits, bool, bool) { return n == 1 && bits > 1; }},
    {ID_COLOR_GRAYSCALE, [](int n, int, bool, bool) { return n == 1; }},
    {ID_COLOR_INVERT, [](int n, int, bool, bool) { return n == 1; }},
    {ID_COLOR_COUNT_COLORS, [](int n, int bits, bool, bool) { return n == 1 && bits > 1; }},
    {ID_COLOR_CHECK_CHANGE, [](int n, int bits, bool, bool) { return n == 1 && bits > 1; }},
    {ID_COLOR_REDUCE, [](int n, int bits, bool, bool) { return n == 1 && bits > 4; }},
    {ID_CROP_SELECT_IMAGE, [](int n, int, bool, bool) { return n == 1; }},
    {ID_CROP_INVERT_SELECTION, [](int n, int, bool, bool) { return n == 1; }},
    {ID_CROP_RESET_LINES, [](int n, int, bool shown, bool differs) { return n == 1 && shown && differs; }},
    {ID_CROP_CROP, [](int n, int, bool shown, bool differs) { return n == 1 && shown && differs; }},
    {ID_CROP_ERASE, [](int n, int, bool shown, bool) { return n == 1 && shown; }},
};

void ExpectCommandStates(CFrameWnd* frame, int images, int bits, bool shown, bool differs)
{
    for (const CommandRule& rule : kCommandRules)
        EXPECT_EQ(EnabledNow(frame, rule.id), rule.enabled(images, bits, shown, differs))
            << "command " << rule.id << " with " << images << " image(s) of " << bits << " bits, selection "
            << (shown ? (differs ? "moved" : "shown") : "hidden");
}

TEST_F(ImageDocuments, ToolColorAndCropCommandsFollowTheImage)
{
    for (int bits : {1, 4, 8, 24}) {
        XImageDoc* doc = OpenImageOfDepth(bits);
        ASSERT_NE(doc, nullptr) << bits;
        ASSERT_EQ(doc->FirstImage()->bitCount, bits);
        ExpectCommandStates(frame, 1, bits, false, false);
        Command(doc, ID_CROP_SELECT_IMAGE);
        ExpectCommandStates(frame, 1, bits, true, false);
        doc->FirstImage()->selection.left = 1;
        ExpectCommandStates(frame, 1, bits, true, true);
    }
    // A merging document: only the merge commands.
    XImageDoc* doc = OpenImageOfDepth(24);
    ASSERT_NE(doc, nullptr);
    DisplayImage dropped;
    ASSERT_TRUE(DuplicateImage(dropped, *doc->FirstImage()));
    doc->AddImageCopy(dropped);
    PumpMessages();
    ASSERT_EQ(doc->images.size(), 2u);
    ExpectCommandStates(frame, 2, 24, false, false);
}

// The entries of the frame menu's window list, sorted.
std::vector<std::string> WindowList(HWND frameWindow)
{
    std::vector<std::string> listed;
    HMENU bar = ::GetMenu(frameWindow);
    for (int i = 0; bar && i < GetMenuItemCount(bar); ++i) {
        HMENU popup = GetSubMenu(bar, i);
        for (int j = 0; popup && j < GetMenuItemCount(popup); ++j) {
            UINT id = GetMenuItemID(popup, j);
            if (id < AFX_IDM_FIRST_MDICHILD || id == UINT(-1))
                continue;
            char text[MAX_PATH + 8] = "";
            GetMenuStringA(popup, j, text, sizeof text, MF_BYPOSITION);
            listed.push_back(text);
        }
    }
    std::sort(listed.begin(), listed.end());
    return listed;
}

// The Window menu lists every image window by its title, also when the
// title changes later (a save under a new name).
TEST_F(ImageDocuments, WindowMenuListsEachImageWindowByItsTitle)
{
    WritePattern(dir + "listed-a.bmp", kTypeBmp, 8, 8);
    WritePattern(dir + "listed-b.bmp", kTypeBmp, 8, 8);
    XImageDoc* a = Open(dir + "listed-a.bmp");
    XImageDoc* b = Open(dir + "listed-b.bmp");
    ASSERT_TRUE(a && b);
    const std::string titleA = std::string(LPCSTR(a->GetTitle()));
    std::vector<std::string> expected = {"&1 " + titleA, "&2 " + std::string(LPCSTR(b->GetTitle()))};
    EXPECT_EQ(WindowList(frame->m_hWnd), expected);
    b->SetTitle("renamed.png");
    expected = {"&1 " + titleA, "&2 renamed.png"};
    EXPECT_EQ(WindowList(frame->m_hWnd), expected);
}

}  // namespace
