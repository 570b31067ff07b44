#include "Cli.h"

#include "AppValues.h"
#include "CheckbookFile.h"
#include "CheckbookJson.h"
#include "PasswordHash.h"
#include "QuilletDoc.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>

#include <termios.h>
#include <unistd.h>

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli dump [--password PW] FILE.ql1\n"
    "       quillet-cli pack JSON OUT.ql1\n"
    "dump writes the checkbook as JSON on standard output; pack writes a checkbook\n"
    "file from such JSON (\"-\" reads it from standard input). A protected file\n"
    "takes --password, or QUILLET_PASSWORD, or asks on the terminal.\n";

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int Usage(std::ostream& err, const std::string& problem)
{
    err << "quillet-cli: " << problem << "\n" << kUsage;
    return BadUsage;
}

int Dump(const std::string& path, const std::optional<std::string>& password, std::ostream& out,
         std::ostream& err, const Environment& env)
{
    const std::string name = BaseName(path);
    FileError error;
    std::string bytes;
    if (!ReadCheckbookBytes(path, bytes, error)) {
        err << error.message << "\n";
        return FileProblem;
    }

    bool noPassword = false;
    const PasswordPrompt prompt = [&](const std::string& storedHash) {
        std::optional<std::string> typed = password ? password : env.passwordVariable;
        if (!typed && env.askPassword)
            typed = env.askPassword(name);
        if (!typed) {
            noPassword = true;
            return false;
        }
        return HashPassword(storedHash, *typed) == storedHash;
    };

    CQuilletDoc doc;
    std::string version;
    if (!bytes.empty()) {
        ReadCheckbookVersion(bytes, version);
        if (!ReadCheckbook(doc, bytes, prompt, error, name)) {
            if (error.kind == FileError::AccessDenied) {
                if (noPassword)
                    err << "The file \"" << name
                        << "\" is protected by a password; give it with --password or QUILLET_PASSWORD.\n";
                else
                    err << error.message << "\n";
                return PasswordProblem;
            }
            err << error.message << "\n";
            return FileProblem;
        }
    }

    out << CheckbookToJson(doc, version).dump(2) << "\n";
    out.flush();
    if (!out) {
        err << "The checkbook \"" << name << "\" could not be written to standard output.\n";
        return FileProblem;
    }
    return Success;
}

int Pack(const std::string& jsonPath, const std::string& outPath, std::ostream& err)
{
    const std::string name = jsonPath == "-" ? std::string("standard input") : "\"" + BaseName(jsonPath) + "\"";
    std::string text;
    if (jsonPath == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
        FileError error;
        if (!ReadCheckbookBytes(jsonPath, text, error)) {
            // The reader's wording speaks of checkbooks; this file is JSON.
            if (error.kind == FileError::Damaged)
                err << "The file " << name << " is not a readable file.\n";
            else
                err << error.message << "\n";
            return FileProblem;
        }
    }

    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::exception& e) {
        std::string what = e.what();
        const size_t bracket = what.find("] ");
        if (what.compare(0, 1, "[") == 0 && bracket != std::string::npos)
            what = what.substr(bracket + 2);
        err << "The file " << name << " is not valid JSON (" << what << ").\n";
        return FileProblem;
    }

    CQuilletDoc doc;
    std::string problem;
    if (!CheckbookFromJson(json, doc, problem)) {
        err << "The file " << name << " does not describe a checkbook: " << problem << ".\n";
        return FileProblem;
    }
    FileError error;
    if (!SaveCheckbookFile(doc, outPath, error)) {
        err << error.message << "\n";
        return FileProblem;
    }
    return Success;
}
}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const Environment& env)
{
    AppValues::ResetToDefaults();
    if (args.empty())
        return Usage(err, "no command given.");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kUsage;
        return Success;
    }

    std::optional<std::string> password;
    std::vector<std::string> operands;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--password") {
            if (i + 1 >= args.size())
                return Usage(err, "--password needs a value.");
            password = args[++i];
        } else if (arg.compare(0, 11, "--password=") == 0) {
            password = arg.substr(11);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return Usage(err, "unknown option " + arg + ".");
        } else {
            operands.push_back(arg);
        }
    }

    if (args[0] == "dump") {
        if (operands.size() != 1)
            return Usage(err, "dump takes one checkbook file.");
        return Dump(operands[0], password, out, err, env);
    }
    if (args[0] == "pack") {
        if (operands.size() != 2)
            return Usage(err, "pack takes a JSON file and the checkbook file to write.");
        if (password)
            return Usage(err, "pack takes no password; the JSON carries the password hash.");
        return Pack(operands[0], operands[1], err);
    }
    return Usage(err, "unknown command " + args[0] + ".");
}

Environment ProcessEnvironment()
{
    Environment env;
    if (const char* value = std::getenv("QUILLET_PASSWORD"))
        env.passwordVariable = std::string(value);
    env.askPassword = [](const std::string& fileName) -> std::optional<std::string> {
        if (!::isatty(STDIN_FILENO))
            return std::nullopt;
        std::cerr << "Password for " << fileName << ": " << std::flush;
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
    };
    return env;
}
}  // namespace Cli
