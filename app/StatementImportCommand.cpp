// File > Import Statement...: the statement chooser, then the preview.
#include "MainFrame.h"

#include "DocSession.h"
#include "ImportStatementDlg.h"
#include "QuilletView.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

void CMainFrame::OnFileImportStatement()
{
    // Browsers save bank downloads in the Downloads folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();

    const QString path =
        m_statementPathDialog
            ? m_statementPathDialog(this, folder)
            : QFileDialog::getOpenFileName(this, "Import Statement", folder,
                                           "Bank statements (*.csv *.qif *.ofx *.qfx);;All files (*)");
    if (path.isEmpty())
        return;
    CImportStatementDlg::ImportFile(m_session.History(), path, this);
    RefreshView();
}
