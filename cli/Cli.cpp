#include "Cli.h"

#include "AppValues.h"
#include "Commands.h"

#include <cstdlib>
#include <iostream>
#include <map>

#include <termios.h>
#include <unistd.h>

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli COMMAND [OPTIONS] FILE.ql1 ...\n"
    "Commands:\n"
    "  dump FILE                   the checkbook as JSON\n"
    "  pack JSON OUT               a checkbook file from such JSON\n"
    "  balances FILE               every account's balance and bank balance\n"
    "  register FILE ACCOUNT       an account's entries with the running balance\n"
    "  due FILE [--days N]         recurring transactions due within N days\n"
    "  categories FILE [--days N]  spending by category over the last N days\n"
    "  export FILE --format csv|qif [--account NAME] [-o OUT]\n"
    "  import FILE --account NAME [--format csv|qif|ofx] SOURCE [--dry-run]\n"
    "  encrypt FILE                encrypt the file with a passphrase\n"
    "  decrypt FILE                store it without encryption again\n"
    "\"quillet-cli COMMAND --help\" tells more. A protected file takes --password,\n"
    "or QUILLET_PASSWORD, or asks on the terminal; an encrypted one takes\n"
    "--passphrase, or QUILLET_PASSPHRASE, or asks on the terminal. Exit status:\n"
    "0 done, 1 wrong usage, 2 a file could not be read or written, 3 password or\n"
    "passphrase missing or wrong.\n"
    "The password stops a checkbook from being opened in Quillet without it,\n"
    "but the file is not encrypted: anyone with the file can read the amounts.\n"
    "An encrypted file reveals nothing without its passphrase.\n"
    "import, pack, encrypt and decrypt wait for another program that is changing\n"
    "the checkbook, and keep the version they replace in FILE.ql1.backups (the\n"
    "last 3).\n";

using Command = int (*)(const std::vector<std::string>&, const Io&);

const std::map<std::string, Command>& Commands()
{
    static const std::map<std::string, Command> commands = {
        {"dump", RunDump},         {"pack", RunPack}, {"balances", RunBalances}, {"register", RunRegister},
        {"due", RunDue},           {"categories", RunCategories}, {"export", RunExport}, {"import", RunImport},
        {"encrypt", RunEncrypt},   {"decrypt", RunDecrypt},
    };
    return commands;
}

// The answer to question, typed on the terminal without being shown.
std::optional<std::string> AskHidden(const std::string& question)
{
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    std::cerr << question << std::flush;
    termios saved = {};
    const bool haveTerminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string typed;
    const bool got = bool(std::getline(std::cin, typed));
    if (haveTerminal)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << "\n";
    if (!got)
        return std::nullopt;
    return typed;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env)
{
    AppValues::ResetToDefaults();
    const Io io{out, err, env};
    if (args.empty())
        return UsageError(err, "no command given.", kUsage);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1 && Commands().count(args[1]))
            return Commands().at(args[1])({"--help"}, io);
        out << kUsage;
        return Success;
    }
    const auto command = Commands().find(args[0]);
    if (command == Commands().end())
        return UsageError(err, "unknown command " + args[0] + ".", kUsage);
    return command->second(std::vector<std::string>(args.begin() + 1, args.end()), io);
}

Environment ProcessEnvironment()
{
    Environment env;
    if (const char* value = std::getenv("QUILLET_PASSWORD"))
        env.passwordVariable = std::string(value);
    if (const char* value = std::getenv("QUILLET_PASSPHRASE"))
        env.passphraseVariable = std::string(value);
    env.askPassword = [](const std::string& fileName) { return AskHidden("Password for " + fileName + ": "); };
    env.askPassphrase = AskHidden;
    return env;
}
}  // namespace Cli
