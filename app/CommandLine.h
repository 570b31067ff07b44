#pragma once
// The program's command line, defined once: main() answers --help and
// --version from it before anything needs a display, and the application
// object starts from it.
//
//   quillet [FILE]                       opens the checkbook, or a new one
//   quillet --print FILE                 prints it and exits
//   quillet --print-to-pdf OUT.pdf FILE  writes its printed page and exits

#include <QString>
#include <QStringList>

#include <optional>

struct CommandLine
{
    enum class Action { Window, Print, PrintToPdf, Help, HelpAll, Version };

    Action action = Action::Window;
    QString file;     // the checkbook named, if any
    QString pdfPath;  // --print-to-pdf's output
    // What is wrong when the line cannot be followed; empty otherwise.
    QString error;
    QString helpText;
};

// arguments[0] is the program.
CommandLine ParseCommandLine(const QStringList& arguments);

// "Quillet Version 1.0.0.0".
QString VersionText();

// Prints the help or the version on the standard output and gives the
// exit status (--help-all ends the program itself); nothing for a line
// that starts the program.
std::optional<int> AnswerOnTerminal(const CommandLine& line);
