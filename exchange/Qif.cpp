#include "Qif.h"

namespace
{
enum class Section { None, Register, Account, Ignored };

Section SectionOf(const std::string& header, bool& known)
{
    known = true;
    std::string type;
    for (char c : header)
        type += char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    while (!type.empty() && (type.back() == ' ' || type.back() == '\t'))
        type.pop_back();
    if (type == "!type:bank" || type == "!type:cash" || type == "!type:ccard" || type == "!type:oth a" ||
        type == "!type:oth l")
        return Section::Register;
    if (type == "!account")
        return Section::Account;
    if (type == "!type:cat" || type == "!type:class" || type == "!type:memorized" ||
        type.compare(0, 8, "!option:") == 0 || type.compare(0, 7, "!clear:") == 0)
        return Section::Ignored;
    known = false;
    return Section::Ignored;
}

bool Empty(const QifRecord& r)
{
    return r.date.empty() && r.amount.empty() && r.number.empty() && r.payee.empty() && r.memo.empty() &&
           r.category.empty() && r.cleared.empty() && r.splits.empty();
}

// A text on one line: line breaks would start new fields.
std::string OneLine(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}
}  // namespace

std::vector<QifRecord> ParseQif(const std::string& text, std::vector<std::string>& accounts,
                                std::vector<TextProblem>& problems)
{
    std::vector<QifRecord> records;
    Section section = Section::None;
    QifRecord record;
    std::string accountName;
    bool sawHeader = false;
    int line = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string row = text.substr(pos, end - pos);
        pos = end + 1;
        ++line;
        if (!row.empty() && row.back() == '\r')
            row.pop_back();
        if (row.empty() || row.find_first_not_of(" \t") == std::string::npos)
            continue;

        if (row[0] == '!') {
            bool known = true;
            section = SectionOf(row, known);
            sawHeader = true;
            if (!known)
                problems.push_back({line, "\"" + row + "\" holds no bank register entries"});
            record = QifRecord();
            continue;
        }
        if (!sawHeader) {
            problems.push_back({line, "the file does not start with a \"!Type:\" line; it is not QIF"});
            return records;
        }
        const char code = row[0];
        const std::string value = row.substr(1);
        if (section == Section::Account) {
            if (code == 'N')
                accountName = value;
            else if (code == '^') {
                accounts.push_back(accountName);
                accountName.clear();
            }
            continue;
        }
        if (section != Section::Register)
            continue;
        if (Empty(record))
            record.line = line;
        switch (code) {
        case 'D': record.date = value; break;
        case 'T': record.amount = value; break;
        case 'U': if (record.amount.empty()) record.amount = value; break;
        case 'N': record.number = value; break;
        case 'P': record.payee = value; break;
        case 'M': record.memo = value; break;
        case 'L': record.category = value; break;
        case 'C': record.cleared = value; break;
        case 'S': record.splits.push_back({value, std::string()}); break;
        case '$':
            if (!record.splits.empty())
                record.splits.back().amount = value;
            break;
        case '^':
            if (!Empty(record))
                records.push_back(record);
            record = QifRecord();
            break;
        default: break;  // address lines, split memos, classes ...
        }
    }
    // The last record may lack its "^".
    if (section == Section::Register && !Empty(record))
        records.push_back(record);
    return records;
}

std::string QifAccountHeader(const std::string& name)
{
    return "!Account\nN" + OneLine(name) + "\nTBank\n^\n!Type:Bank\n";
}

std::string QifRecordText(const QifRecord& r)
{
    std::string text = "D" + r.date + "\nT" + r.amount + "\n";
    if (!r.number.empty())
        text += "N" + OneLine(r.number) + "\n";
    text += "P" + OneLine(r.payee) + "\n";
    if (!r.memo.empty())
        text += "M" + OneLine(r.memo) + "\n";
    if (!r.category.empty())
        text += "L" + OneLine(r.category) + "\n";
    if (!r.cleared.empty())
        text += "C" + r.cleared + "\n";
    for (const QifSplit& split : r.splits)
        text += "S" + OneLine(split.category) + "\n$" + split.amount + "\n";
    return text + "^\n";
}
