// Printing of the dashboard. The view paints the page; the frame only
// routes the commands to it and owns none of the printing state: the
// printer, with the user's page setup, belongs to the application.
#include "DashboardPrinter.h"
#include "DocSession.h"
#include "MainFrame.h"
#include "QuilletApp.h"
#include "QuilletView.h"
#include "UserMessage.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace
{
QString PrinterName(const QPrinter& printer)
{
    return printer.printerName().isEmpty() ? QStringLiteral("the printer") : printer.printerName();
}

// Without any printer installed the printer falls back to writing a PDF
// file, and without a file name it has nowhere to print to.
bool HasNowhereToPrint(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty();
}
}

QPrinter& CQuilletApp::Printer()
{
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

void CQuilletApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(&Printer(), m_pFrame.get());
    dialog.exec();
}

bool CQuilletApp::PrintToPdf(const QString& pdfPath, const QString& file)
{
    // The session tells the user why a file could not be opened.
    if (!m_pSession->OpenDocumentFile(file))
        return false;
    ApplyStoredViewSettings();
    return m_pFrame->ExportPdf(pdfPath);
}

QPrinter* CMainFrame::Printer() const
{
    return m_printerSource ? &m_printerSource() : nullptr;
}

void CMainFrame::OnFilePrint()
{
    QPrinter* printer = Printer();
    if (!printer)
        return;
    QPrintDialog dialog(printer, this);
    // The dashboard is always one page.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!DashboardPrinter::Print(*m_pView, *printer, m_session.Title()))
        UserMessage::Show(this, QString("The dashboard could not be printed on %1.").arg(PrinterName(*printer)),
                          UserMessage::Buttons::Ok, UserMessage::Icon::Error);
}

void CMainFrame::OnFilePrintPreview()
{
    QPrinter* printer = Printer();
    if (!printer)
        return;
    // The preview paints into its own pages with the same code, and its
    // print button prints through the same printer.
    QPrintPreviewDialog dialog(printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { DashboardPrinter::Print(*m_pView, *target, m_session.Title()); });
    dialog.exec();
}

bool CMainFrame::OnFilePrintDirect()
{
    QPrinter* printer = Printer();
    if (!printer)
        return false;
    QWidget* parent = isVisible() ? this : nullptr;
    if (HasNowhereToPrint(*printer)) {
        UserMessage::Show(parent,
                          "There is no printer to print on.\nFile, Export PDF... keeps the page as a PDF file.",
                          UserMessage::Buttons::Ok, UserMessage::Icon::Error);
        return false;
    }
    if (!DashboardPrinter::Print(*m_pView, *printer, m_session.Title())) {
        UserMessage::Show(parent, QString("The dashboard could not be printed on %1.").arg(PrinterName(*printer)),
                          UserMessage::Buttons::Ok, UserMessage::Icon::Error);
        return false;
    }
    return true;
}

bool CMainFrame::ExportPdf(const QString& path)
{
    QWidget* parent = isVisible() ? this : nullptr;
    // Arguments given the wrong way round must not turn a checkbook into
    // a PDF.
    if (QFileInfo(path).suffix().compare("ql1", Qt::CaseInsensitive) == 0) {
        UserMessage::Show(parent,
                          QString("Cannot write %1 as a PDF: the name is that of a checkbook file.")
                              .arg(QDir::toNativeSeparators(path)),
                          UserMessage::Buttons::Ok, UserMessage::Icon::Error);
        return false;
    }
    QPrinter* printer = Printer();
    const QPageLayout layout = printer ? printer->pageLayout() : QPrinter(QPrinter::HighResolution).pageLayout();
    QString error;
    if (DashboardPrinter::WritePdf(*m_pView, layout, path, m_session.Title(), error))
        return true;
    UserMessage::Show(parent, error, UserMessage::Buttons::Ok, UserMessage::Icon::Error);
    return false;
}

void CMainFrame::OnFileExportPdf()
{
    // Beside the checkbook, named after it; a new one goes to the home
    // folder as "Untitled.pdf".
    const QString file = m_session.PathName();
    const QString folder = file.isEmpty() ? QDir::homePath() : QFileInfo(file).absolutePath();
    const QString name = file.isEmpty() ? m_session.Title() : QFileInfo(file).completeBaseName();
    const QString suggested = QDir(folder).filePath(name + ".pdf");

    QString path;
    if (m_pdfPathDialog) {
        path = m_pdfPathDialog(this, suggested);
    } else {
        QFileDialog dialog(this, "Export PDF", suggested, "PDF Files (*.pdf)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // With the suffix added by the dialog, its question before
        // replacing a file covers the name actually written.
        dialog.setDefaultSuffix("pdf");
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (path.isEmpty())
        return;
    ExportPdf(path);
}
