// Adding the first template brings in the document layer's manager; kept
// apart so that programs without documents do not need that layer.
#include "Wnd.h"

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (!m_pDocManager) {
        m_pDocManager = KfCreateDocManager();
        if (!m_pDocManager)
            return;
        // The recent-file list may have been asked for before the manager.
        if (recentFileEntries_)
            m_pDocManager->LoadRecentFileList(recentFileEntries_);
    }
    m_pDocManager->AddDocTemplate(docTemplate);
}
