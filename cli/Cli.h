#pragma once
// quillet-cli: checkbook files from the command line: JSON dump and pack,
// reports, export and bank-statement import.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace Cli
{
enum Status
{
    Success = 0,
    BadUsage = 1,
    FileProblem = 2,      // cannot be read or written: missing, damaged, cut short
    PasswordProblem = 3,  // password or passphrase missing or wrong
};

struct Environment
{
    std::optional<std::string> passwordVariable;  // QUILLET_PASSWORD, when set
    // Asks on the terminal for the password of the named file; empty when
    // there is no terminal to ask on.
    std::function<std::optional<std::string>(const std::string& fileName)> askPassword;
    std::optional<std::string> passphraseVariable;  // QUILLET_PASSPHRASE, when set
    // Asks the question on the terminal, the answer not shown; empty when
    // there is no terminal to ask on. For an encrypted file's passphrase.
    std::function<std::optional<std::string>(const std::string& question)> askPassphrase;
    // How long a command that changes a checkbook waits for another
    // program that is changing it to finish, before it gives up.
    int lockWaitMs = 10000;
};

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env);

// The real environment: the variables, and prompts without echo when
// standard input is a terminal.
Environment ProcessEnvironment();
}
