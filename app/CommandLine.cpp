#include "CommandLine.h"

#include "AppValues.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace
{
struct Options
{
    QCommandLineOption print, toPdf, help, version;
};

Options Define(QCommandLineParser& parser)
{
    parser.setApplicationDescription("Quillet, a checkbook manager.");
    parser.addPositionalArgument("file", "The checkbook (.ql1) to open.", "[file]");
    const QCommandLineOption print({"p", "print"}, "Print the checkbook on the default printer and exit.", "file");
    parser.addOption(print);
    const QCommandLineOption toPdf("print-to-pdf",
                                   "Write the printed page of the checkbook to the PDF file pdf and exit; needs no display.",
                                   "pdf");
    parser.addOption(toPdf);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    return {print, toPdf, help, version};
}
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const auto [print, toPdf, help, version] = Define(parser);

    CommandLine line;
    const bool parsed = parser.parse(arguments);
    line.helpText = parser.helpText();
    // Asking for help is answered even beside a mistake.
    if (parser.isSet(help) || parser.isSet("help-all")) {
        line.action = parser.isSet(help) ? CommandLine::Action::Help : CommandLine::Action::HelpAll;
        return line;
    }
    if (!parsed) {
        line.error = parser.errorText();
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(toPdf)) {
        line.action = CommandLine::Action::PrintToPdf;
        line.pdfPath = parser.value(toPdf);
        if (files.size() != 1 || parser.isSet(print))
            line.error = "Give the PDF file and one checkbook file: quillet --print-to-pdf OUT.pdf FILE.ql1";
        else
            line.file = files.first();
        return line;
    }
    if (files.size() > 1 || (parser.isSet(print) && !files.isEmpty())) {
        line.error = "Give at most one checkbook file.\n\n" + line.helpText;
        return line;
    }
    if (parser.isSet(print)) {
        line.action = CommandLine::Action::Print;
        line.file = parser.value(print);
    } else if (!files.isEmpty()) {
        line.file = files.first();
    }
    return line;
}

QString VersionText()
{
    return "Quillet " + QString::fromStdString(g_strVersion);
}

std::optional<int> AnswerOnTerminal(const CommandLine& line)
{
    if (line.action == CommandLine::Action::HelpAll) {
        // Only the parser knows the toolkit's options; it prints them and
        // ends the program.
        QCommandLineParser parser;
        Define(parser);
        parser.process(QStringList{QCoreApplication::applicationFilePath(), "--help-all"});
    }
    if (line.action != CommandLine::Action::Help && line.action != CommandLine::Action::Version)
        return std::nullopt;
    const QString text = line.action == CommandLine::Action::Help ? line.helpText : VersionText() + "\n";
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return 0;
}
