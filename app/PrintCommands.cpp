// Printing of the dashboard. The view paints the page; the frame only
// routes the commands to it.
#include "MainFrame.h"
#include "QuilletApp.h"

void CMainFrame::OnFilePrint() {}

void CMainFrame::OnFilePrintPreview() {}

bool CMainFrame::OnFilePrintDirect()
{
    return false;
}

void CQuilletApp::OnFilePrintSetup() {}
