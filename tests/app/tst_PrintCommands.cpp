// The print commands: the program's --print-to-pdf run without a display,
// File Export PDF..., the preview and the page setup of the one printer of
// the application, and printing without a dialog.
#include "AppTestSupport.h"

#include "../view/PdfTools.h"
#include "Commands.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace
{
// crypt("password", "ab")
const char kPasswordHash[] = "abJnggxhB/yWI";

// Runs act on the modal dialog of type Dialog as soon as it shows; gives
// up (and fails the check in the caller) after a few seconds.
template <typename Dialog>
void WhenModal(bool& seen, std::function<void(Dialog&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act, &seen] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            seen = true;
            act(*dialog);
        } else if (++*tries > 250) {
            poll->stop();
            poll->deleteLater();
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
    });
    poll->start();
}

struct Run
{
    int status = -1;
    QString errors;
};

// The program itself, as a script would run it: no display at all.
Run RunQuillet(const QStringList& arguments, const QHash<QString, QString>& extra = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QUILLET_PASSWORD"})
        env.remove(QString::fromLatin1(name));
    for (auto it = extra.begin(); it != extra.end(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUILLET_PROGRAM), arguments);
    Run run;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// What the program itself said (Qt's own warnings aside).
QString ProgramLines(const QString& errors)
{
    QStringList lines;
    for (const QString& line : errors.split('\n'))
        if (line.startsWith("quillet:"))
            lines << line;
    return lines.join('\n');
}
}

class PrintCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!PdfTools::Available())
            QSKIP("poppler-utils (pdfinfo, pdftotext, pdftoppm) are not installed");
    }

    void printToPdfRunsWithoutDisplay()
    {
        AppHarness h;
        const QString file = h.Path("Home.ql1"), pdf = h.Path("Home.pdf");
        h.WriteCheckbook(file, "Checking");
        const Run run = RunQuillet({"--print-to-pdf", pdf, file});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QCOMPARE(ProgramLines(run.errors), QString());
        QCOMPARE(PdfTools::Pages(pdf), 1);
        const QString text = PdfTools::Text(pdf);
        QVERIFY2(text.contains("Home.ql1"), qPrintable(text));
        QVERIFY(text.contains("Checking"));
        QVERIFY(text.contains("250.00"));
        QVERIFY(text.contains(QRegularExpression("\\b\\d\\d/\\d\\d/\\d{4}\\b")));
    }

    void printToPdfFailuresSayWhyAndExitWithTwo()
    {
        AppHarness h;
        const QString pdf = h.Path("out.pdf");
        {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an earlier export");
        }
        const QString damaged = h.Path("Broken.ql1");
        {
            QFile file(damaged);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("this is no checkbook at all, just some text.");
        }
        const QString good = h.Path("Good.ql1");
        h.WriteCheckbook(good, "Checking");

        const struct
        {
            QStringList arguments;
            QString says;
        } cases[] = {
            {{"--print-to-pdf", pdf, h.Path("Missing.ql1")}, "Missing.ql1"},
            {{"--print-to-pdf", pdf, damaged}, "Broken.ql1"},
            {{"--print-to-pdf", pdf}, "--print-to-pdf OUT.pdf FILE.ql1"},
            {{"--print-to-pdf", pdf, good, damaged}, "--print-to-pdf OUT.pdf FILE.ql1"},
            // The two names the wrong way round.
            {{"--print-to-pdf", good, pdf}, "out.pdf"},
        };
        for (const auto& c : cases) {
            const Run run = RunQuillet(c.arguments);
            QCOMPARE(run.status, 2);
            const QString said = ProgramLines(run.errors);
            QVERIFY2(said.contains(c.says), qPrintable(said));
            QCOMPARE(ReadFileBytes(pdf), QByteArray("an earlier export"));
        }
        QVERIFY(ProgramLines(RunQuillet({"--print-to-pdf", pdf, damaged}).errors).contains("damaged"));
        // Nor is a checkbook written over with a PDF.
        const QByteArray checkbook = ReadFileBytes(good);
        QCOMPARE(RunQuillet({"--print-to-pdf", good, good}).status, 2);
        QCOMPARE(ReadFileBytes(good), checkbook);

        // Nowhere to write: the checkbook is fine, the folder is not there.
        const QString nowhere = h.Path("no such folder/out.pdf");
        const Run run = RunQuillet({"--print-to-pdf", nowhere, good});
        QCOMPARE(run.status, 2);
        QVERIFY2(ProgramLines(run.errors).contains("Cannot write"), qPrintable(run.errors));
        QVERIFY(!QFile::exists(nowhere));
    }

    void printToPdfOfAProtectedFileTakesThePasswordFromTheEnvironment()
    {
        AppHarness h;
        const QString file = h.Path("Secret.ql1"), pdf = h.Path("Secret.pdf");
        h.WriteCheckbook(file, "Hidden", 20, kPasswordHash);

        // No terminal to ask on and no password given.
        Run run = RunQuillet({"--print-to-pdf", pdf, file});
        QCOMPARE(run.status, 2);
        QVERIFY2(ProgramLines(run.errors).contains("QUILLET_PASSWORD"), qPrintable(run.errors));
        QVERIFY(!QFile::exists(pdf));

        run = RunQuillet({"--print-to-pdf", pdf, file}, {{"QUILLET_PASSWORD", "wrong"}});
        QCOMPARE(run.status, 2);
        QVERIFY(ProgramLines(run.errors).contains("Secret.ql1"));
        QVERIFY(!QFile::exists(pdf));

        run = RunQuillet({"--print-to-pdf", pdf, file}, {{"QUILLET_PASSWORD", "password"}});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QVERIFY(PdfTools::Text(pdf).contains("Hidden"));
    }

    void exportPdfWritesThePageOfTheOpenCheckbook()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QStringList suggestions;
        QString answer = h.Path("new.pdf");
        h.Frame().SetPdfPathDialog([&](QWidget*, const QString& suggested) {
            suggestions << suggested;
            return answer;
        });
        QAction* exportPdf = h.Frame().CommandAction(ID_FILE_EXPORT_PDF);
        QVERIFY(exportPdf);
        QCOMPARE(exportPdf->statusTip(), QString("Save the printed page as a PDF file"));

        // A new checkbook: "Untitled", offered in the home folder.
        exportPdf->trigger();
        QCOMPARE(suggestions.value(0), QDir(QDir::homePath()).filePath("Untitled.pdf"));
        QCOMPARE(PdfTools::Pages(answer), 1);
        QVERIFY(PdfTools::Text(answer).contains("Untitled"));

        // An opened one: named after it, beside it.
        const QString file = h.Path("Home.ql1");
        h.WriteCheckbook(file, "Savings");
        QVERIFY(h.app->Session().OpenDocumentFile(file));
        answer = h.Path("home copy.pdf");
        exportPdf->trigger();
        QCOMPARE(suggestions.value(1), h.Path("Home.pdf"));
        const QString text = PdfTools::Text(answer);
        QVERIFY(text.contains("Home.ql1"));
        QVERIFY(text.contains("Savings"));

        // Cancelled: nothing written, nothing said.
        answer.clear();
        exportPdf->trigger();
        QVERIFY(h.messages.isEmpty());

        // A folder that is not there: the user is told.
        answer = h.Path("gone/x.pdf");
        exportPdf->trigger();
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages[0].startsWith("Cannot write") && h.messages[0].contains("x.pdf"),
                 qPrintable(h.messages[0]));
    }

    void pageSetupIsKeptInTheOnePrinter()
    {
        AppHarness h;
        QVERIFY(h.Start());
        QPrinter& printer = h.app->Printer();
        // What the page setup chose shapes the exported page too.
        printer.setPageOrientation(QPageLayout::Landscape);
        const QString pdf = h.Path("wide.pdf");
        QVERIFY(h.Frame().ExportPdf(pdf));
        const QSizeF size = PdfTools::PageSize(pdf);
        QVERIFY2(size.width() > size.height(), qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
    }

    void previewShowsOnePageOfTheOnePrinter()
    {
        AppHarness h;
        QVERIFY(h.Start());
        bool seen = false;
        int pages = -1;
        WhenModal<QPrintPreviewDialog>(seen, [&](QPrintPreviewDialog& dialog) {
            QCOMPARE(dialog.printer(), &h.app->Printer());
            if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
                pages = preview->pageCount();
            if (qEnvironmentVariableIsSet("QUILLET_SAVE_PNG")) {
                dialog.resize(900, 1000);
                QCoreApplication::processEvents();
                dialog.grab().save(qEnvironmentVariable("QUILLET_SAVE_PNG") + "/print-preview.png");
            }
            dialog.reject();
        });
        h.Frame().CommandAction(ID_FILE_PRINT_PREVIEW)->trigger();
        QVERIFY(seen);
        QCOMPARE(pages, 1);
    }

    void printingWithoutDialog()
    {
        // Nothing to print on: said so, and nothing printed.
        {
            AppHarness h;
            QVERIFY(h.Start());
            QPrinter& printer = h.app->Printer();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString());
            QVERIFY(!h.Frame().OnFilePrintDirect());
            QCOMPARE(h.messages.size(), 1);
            QVERIFY(h.messages[0].startsWith("There is no printer to print on."));
        }
        // --print FILE prints the file's page on the printer and ends.
        {
            AppHarness h;
            const QString file = h.Path("Home.ql1"), pdf = h.Path("direct.pdf");
            h.WriteCheckbook(file, "Checking");
            h.Make().Printer().setOutputFileName(pdf);
            QVERIFY(!h.Start({"--print", file}));
            QCOMPARE(h.app->ExitCode(), 0);
            QVERIFY2(h.messages.isEmpty(), qPrintable(h.messages.join('\n')));
            QCOMPARE(PdfTools::Pages(pdf), 1);
            QVERIFY(PdfTools::Text(pdf).contains("Home.ql1"));

            // Two copies on a printer that makes none itself: the page twice.
            h.app->Printer().setCopyCount(2);
            QVERIFY(h.Frame().OnFilePrintDirect());
            QCOMPARE(PdfTools::Pages(pdf), 2);
        }
    }
};

QTEST_MAIN(PrintCommandsTest)
#include "tst_PrintCommands.moc"
