// The application's document members: all go to the document layer's
// manager, and do nothing while there is none (no template added yet).
#include "Wnd.h"

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& position) const
{
    return m_pDocManager ? m_pDocManager->GetNextDocTemplate(position) : nullptr;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR path)
{
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(path) : nullptr;
}

void CWinApp::AddToRecentFileList(LPCSTR path)
{
    if (m_pDocManager)
        m_pDocManager->AddToRecentFileList(path);
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE; }

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    if (m_pDocManager)
        m_pDocManager->CloseAllDocuments(endSession);
}

int CWinApp::GetOpenDocumentCount() const { return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0; }

void CWinApp::LoadStdProfileSettings(UINT maxEntries)
{
    recentFileEntries_ = maxEntries;
    if (m_pDocManager)
        m_pDocManager->LoadRecentFileList(maxEntries);
}

void CWinApp::EnableShellOpen()
{
    if (m_pDocManager)
        m_pDocManager->EnableShellOpen();
}

void CWinApp::RegisterShellFileTypes(BOOL compatible)
{
    if (m_pDocManager)
        m_pDocManager->RegisterShellFileTypes(compatible);
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager)
        m_pDocManager->OnFileOpen();
}

BOOL CWinApp::OnOpenRecentFile(UINT id)
{
    if (!m_pDocManager)
        return FALSE;
    m_pDocManager->OpenRecentFile(id - ID_FILE_MRU_FILE1);
    return TRUE;
}
