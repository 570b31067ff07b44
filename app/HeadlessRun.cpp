#include "HeadlessRun.h"

#include "DocSession.h"
#include "FilePasswordDialog.h"
#include "QuilletApp.h"
#include "UserMessage.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace
{
const char kPasswordVariable[] = "QUILLET_PASSWORD";
const char kPassphraseVariable[] = "QUILLET_PASSPHRASE";

// One line from the terminal with the echo off; false at end of input.
bool ReadHiddenLine(std::string& line)
{
    termios saved = {};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const bool got = bool(std::getline(std::cin, line));
    if (terminal)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputs("\n", stderr);
    return got;
}

bool AskPassword(const std::string& storedHash)
{
    if (qEnvironmentVariableIsSet(kPasswordVariable))
        return CheckFilePassword(storedHash, qEnvironmentVariable(kPasswordVariable));
    if (!::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "quillet: the checkbook is protected by a password; give it in %s.\n",
                     kPasswordVariable);
        return false;
    }
    std::fputs("Password: ", stderr);
    std::fflush(stderr);
    std::string typed;
    if (!ReadHiddenLine(typed))
        return false;
    return CheckFilePassword(storedHash, QString::fromLocal8Bit(typed.c_str()));
}

SealStatus AskPassphrase(const std::string& fileName, const PassphraseAttempt& attempt)
{
    std::string typed;
    if (qEnvironmentVariableIsSet(kPassphraseVariable)) {
        typed = qgetenv(kPassphraseVariable).toStdString();
    } else if (!::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "quillet: \"%s\" is encrypted; give its passphrase in %s.\n", fileName.c_str(),
                     kPassphraseVariable);
        return SealStatus::NoPassphrase;
    } else {
        std::fprintf(stderr, "Passphrase for %s: ", fileName.c_str());
        std::fflush(stderr);
        if (!ReadHiddenLine(typed))
            return SealStatus::NoPassphrase;
    }
    return attempt(CSecret::Take(typed));
}
}

bool HeadlessRun::Requested(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--print-to-pdf") == 0 || std::strncmp(argv[i], "--print-to-pdf=", 15) == 0)
            return true;
    }
    return false;
}

void HeadlessRun::ChoosePlatform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void HeadlessRun::UseTerminal(CQuilletApp& app)
{
    UserMessage::SetHandler([](const UserMessage::Shown& shown) {
        // One line a message, as a command-line tool reports.
        QString text = shown.text;
        text.replace("\n\n", " ").replace('\n', ' ');
        std::fprintf(stderr, "quillet: %s\n", text.toLocal8Bit().constData());
        // Nobody is there to agree to anything.
        return shown.buttons == UserMessage::Buttons::Ok ? UserMessage::Answer::Ok : UserMessage::Answer::Cancel;
    });
    app.Session().SetPasswordPrompt(AskPassword);
    app.Session().SetPassphrasePrompt(AskPassphrase);
}
