// The framework's documents under Wine: the modified flag and the save
// question before closing (answered by a message posted to the box), saving
// that fails, and the recent-file list with its order, its ini keys, its
// menu entries and its stale entries.
#include "FrameTestKit.h"

#include "framework/RecentFileList.h"

#include <gtest/gtest.h>

using namespace kftest;

namespace {

std::string IniValue(const std::string& ini, const char* key)
{
    char value[512] = "";
    ::GetPrivateProfileStringA("Recent File List", key, "<none>", value, sizeof value, ini.c_str());
    return value;
}

CMultiDocTemplate* AddTemplate(CWinApp& app)
{
    auto* docTemplate = new CMultiDocTemplate(IDR_KF_DOCTYPE, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                              RUNTIME_CLASS(TestView));
    app.AddDocTemplate(docTemplate);
    return docTemplate;
}

std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        ::GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

} // namespace

TEST(FrameworkDocument, SaveQuestionBeforeClosingAModifiedDocument)
{
    std::string folder = ScratchFolder("kf_doc_save");
    TestApp app(folder + "\\test.ini");
    AddTemplate(app);
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    std::string path = folder + "\\shot.kft";
    WriteFile(path, "old");
    auto* doc = static_cast<TestDoc*>(app.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    {
        BoxAnswerer none(IDCANCEL);
        EXPECT_TRUE(doc->SaveModified());   // nothing to ask
        EXPECT_EQ(BoxAnswerer::seen, 0);
    }
    doc->content = "new";
    doc->SetModifiedFlag();

    // Cancel: the window stays open, nothing is written.
    {
        BoxAnswerer cancel(IDCANCEL);
        frame->MDIGetActive()->SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(BoxAnswerer::text, "Save changes to shot.kft?");
    }
    EXPECT_EQ(app.GetOpenDocumentCount(), 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->saves, 0);

    // Yes with a save that fails: still open, still modified, the file as
    // it was.
    TestDoc::failSaves = true;
    {
        BoxAnswerer yes(IDYES);
        EXPECT_FALSE(doc->SaveModified());
    }
    TestDoc::failSaves = false;
    EXPECT_EQ(doc->saves, 1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(ReadFile(path), "old");

    // Yes: written to its own file, then closed.
    {
        BoxAnswerer yes(IDYES);
        frame->MDIGetActive()->SendMessage(WM_CLOSE);
        Pump();
    }
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);

    // No: closed without writing.
    doc = static_cast<TestDoc*>(app.OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    doc->content = "discarded";
    doc->SetModifiedFlag();
    {
        BoxAnswerer no(IDNO);
        frame->MDIGetActive()->SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(BoxAnswerer::seen, 1);
    }
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
    CloseMainFrame(app);
}

TEST(FrameworkDocument, ClosingTheMainFrameAsksForEveryModifiedDocument)
{
    std::string folder = ScratchFolder("kf_doc_exit");
    TestApp app(folder + "\\test.ini");
    AddTemplate(app);
    TestMainFrame* frame = MakeMainFrame(app);
    ASSERT_NE(frame, nullptr);
    WriteFile(folder + "\\a.kft", "a");
    WriteFile(folder + "\\b.kft", "b");
    CDocument* a = app.OpenDocumentFile((folder + "\\a.kft").c_str());
    CDocument* b = app.OpenDocumentFile((folder + "\\b.kft").c_str());
    ASSERT_TRUE(a && b);
    a->SetModifiedFlag();

    // Cancelled: the program keeps running with both documents.
    {
        BoxAnswerer cancel(IDCANCEL);
        frame->SendMessage(WM_CLOSE);
        Pump();
    }
    ASSERT_NE(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.GetOpenDocumentCount(), 2);

    // Answered No: everything closes and the frame goes.
    {
        BoxAnswerer no(IDNO);
        frame->SendMessage(WM_CLOSE);
        Pump();
        EXPECT_EQ(BoxAnswerer::seen, 1);
    }
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(TestDoc::live, 0);
    CloseMainFrame(app);
}

TEST(FrameworkDocument, RecentFilesKeepTheirOrderAndPersist)
{
    std::string folder = ScratchFolder("kf_doc_recent");
    std::string ini = folder + "\\test.ini";
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof current, current);
    ::SetCurrentDirectoryA(folder.c_str());
    for (const char* name : {"a", "b", "c", "d", "e"})
        WriteFile(folder + "\\" + name + ".kft", name);
    {
        TestApp app(ini);
        app.LoadStdProfileSettings(4);   // before the template, as programs do
        AddTemplate(app);
        TestMainFrame* frame = MakeMainFrame(app);
        ASSERT_NE(frame, nullptr);

        // An empty list leaves the placeholder, disabled.
        HMENU file = ::GetSubMenu(::GetMenu(frame->m_hWnd), 0);
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        EXPECT_EQ(MenuTexts(file)[3], "Recent File");
        EXPECT_TRUE(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

        for (const char* name : {"a", "b", "c", "d", "e"}) {
            CDocument* doc = app.OpenDocumentFile((folder + "\\" + name + ".kft").c_str());
            ASSERT_NE(doc, nullptr);
            doc->OnCloseDocument();
        }
        // Written at once, newest first, four kept.
        EXPECT_EQ(IniValue(ini, "File1"), folder + "\\e.kft");
        EXPECT_EQ(IniValue(ini, "File4"), folder + "\\b.kft");
        EXPECT_EQ(IniValue(ini, "File5"), "<none>");
        // Opening one again moves it up.
        app.OpenDocumentFile((folder + "\\c.kft").c_str())->OnCloseDocument();
        EXPECT_EQ(IniValue(ini, "File1"), folder + "\\c.kft");
        EXPECT_EQ(IniValue(ini, "File2"), folder + "\\e.kft");

        // The File menu shows them numbered, by name in the current folder,
        // and stays right when it opens again.
        for (int pass = 0; pass < 2; ++pass) {
            frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
            std::vector<std::string> texts = MenuTexts(file);
            ASSERT_EQ(texts.size(), 9u);
            EXPECT_EQ(texts[3], "&1 c.kft");
            EXPECT_EQ(texts[4], "&2 e.kft");
            EXPECT_EQ(texts[6], "&4 b.kft");
            EXPECT_EQ(texts[8], "E&xit");
            EXPECT_FALSE(::GetMenuState(file, ID_FILE_MRU_FILE1 + 3, MF_BYCOMMAND) & MF_GRAYED);
        }
        CloseMainFrame(app);
    }
    // A new run reads the same list; an entry whose file is gone leaves the
    // list when chosen.
    {
        TestApp app(ini);
        app.LoadStdProfileSettings(4);
        AddTemplate(app);
        TestMainFrame* frame = MakeMainFrame(app);
        ASSERT_NE(frame, nullptr);
        CRecentFileList* list = KfGetRecentFileList();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ((*list)[0], CString((folder + "\\c.kft").c_str()));
        EXPECT_EQ((*list)[3], CString((folder + "\\b.kft").c_str()));

        ::DeleteFileA((folder + "\\e.kft").c_str());
        frame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1, 0);
        Pump();
        EXPECT_EQ(app.GetOpenDocumentCount(), 0);
        EXPECT_EQ((*list)[1], CString((folder + "\\d.kft").c_str()));
        EXPECT_EQ(IniValue(ini, "File4"), "<none>");

        frame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 2, 0);   // b, third now
        Pump();
        ASSERT_NE(frame->GetActiveDocument(), nullptr);
        EXPECT_EQ(frame->GetActiveDocument()->GetTitle(), "b.kft");
        EXPECT_EQ((*list)[0], CString((folder + "\\b.kft").c_str()));
        CloseMainFrame(app);
    }
    ::SetCurrentDirectoryA(current);
}

TEST(FrameworkDocument, ShellRegistrationNamesTheDocumentType)
{
    std::string folder = ScratchFolder("kf_doc_shell");
    TestApp app(folder + "\\test.ini");
    AddTemplate(app);
    app.EnableShellOpen();
    app.RegisterShellFileTypes(TRUE);
    char value[512] = "";
    LONG size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\KfTest.Shot", value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "Kf Test Shot");
    size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\.kft", value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "KfTest.Shot");
    size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\KfTest.Shot\\shell\\open\\command", value,
                               &size),
              ERROR_SUCCESS);
    EXPECT_NE(std::string(value).find("\"%1\""), std::string::npos);

    // An extension another program holds stays with it.
    ::RegSetValueA(HKEY_CURRENT_USER, "Software\\Classes\\.kft", REG_SZ, "Other.Program", 13);
    app.RegisterShellFileTypes(FALSE);
    size = sizeof value;
    ::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\.kft", value, &size);
    EXPECT_STREQ(value, "Other.Program");
    ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\.kft");
}
