// export: registers as CSV or QIF for other finance programs.
#include "CheckbookJson.h"
#include "Commands.h"
#include "QuilletDoc.h"
#include "StatementExport.h"

namespace Cli
{
namespace
{
const char kUsage[] =
    "Usage: quillet-cli export --format csv|qif [--account NAME] [-o OUT] [--json]\n"
    "                          [--password PW] [--passphrase PP] FILE.ql1\n"
    "Writes the entries of every account, or of the one named, to OUT (or to\n"
    "standard output) in UTF-8. CSV: a header row, ISO dates, signed amounts with\n"
    "a point. QIF: !Type:Bank records; void entries are left out. The format is\n"
    "taken from OUT's ending when --format is not given. With -o, a summary is\n"
    "printed (--json: as JSON).\n";
}  // namespace

int RunExport(const std::vector<std::string>& args, const Io& io)
{
    ParsedArgs parsed;
    if (const auto done = StartCommand(args, {{"--json"}, {"--format", "--account", "-o", "--output"}}, kUsage, 1,
                                       "export takes one checkbook file.", parsed, io))
        return *done;
    std::optional<std::string> output = parsed.Value("-o");
    if (!output)
        output = parsed.Value("--output");
    if (output && *output == "-")
        output.reset();
    std::string format = parsed.Value("--format").value_or(output ? FormatFromName(*output) : std::string());
    if (format != "csv" && format != "qif")
        return UsageError(io.err, "--format takes csv or qif.", kUsage);
    if (parsed.Has("--json") && !output)
        return UsageError(io.err, "--json goes with -o: standard output carries the export itself.", kUsage);

    const std::string& path = parsed.operands[0];
    if (output && SameFile(*output, path))
        return UsageError(io.err, "-o names the checkbook itself; the export would replace it.", kUsage);
    CQuilletDoc doc;
    if (const int status = LoadCheckbook(path, parsed.Keys(), io, doc))
        return status;
    std::vector<const CAccount*> accounts;
    if (const auto name = parsed.Value("--account")) {
        const CAccount* account = RequireAccount(doc, *name, path, io.err);
        if (!account)
            return BadUsage;
        accounts.push_back(account);
    } else {
        for (const auto& account : doc.m_accounts)
            accounts.push_back(account.get());
    }

    const ExportResult result = format == "csv" ? ExportCsv(accounts) : ExportQif(accounts);
    if (!output) {
        io.out << result.text;
        io.out.flush();
        if (!io.out) {
            io.err << "The export could not be written to standard output.\n";
            return FileProblem;
        }
        return Success;
    }
    std::string problem;
    if (!WriteFileAtomically(*output, result.text, problem)) {
        io.err << problem << "\n";
        return FileProblem;
    }
    if (parsed.Has("--json")) {
        Json json = Json::object();
        json["file"] = PathText(*output);
        json["format"] = format;
        json["accounts"] = accounts.size();
        json["entries"] = result.entries;
        json["voidEntriesLeftOut"] = result.voidSkipped;
        io.out << json.dump(2) << "\n";
    } else {
        io.out << "Wrote " << result.entries << (result.entries == 1 ? " entry" : " entries") << " of "
               << accounts.size() << (accounts.size() == 1 ? " account" : " accounts") << " to " << *output << ".";
        if (result.voidSkipped)
            io.out << " " << result.voidSkipped << " void " << (result.voidSkipped == 1 ? "entry was" : "entries were")
                   << " left out.";
        io.out << "\n";
    }
    return Success;
}
}  // namespace Cli
