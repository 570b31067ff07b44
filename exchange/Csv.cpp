#include "Csv.h"

namespace
{
bool AtLineBreak(const std::string& text, size_t i)
{
    return i < text.size() && (text[i] == '\n' || text[i] == '\r');
}

// Steps over one line break (CRLF, LF or a lone CR) and counts it.
void SkipLineBreak(const std::string& text, size_t& i, int& line)
{
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    ++i;
    ++line;
}
}  // namespace

std::vector<CsvRecord> ParseCsv(const std::string& text, std::vector<TextProblem>& problems)
{
    std::vector<CsvRecord> records;
    const size_t n = text.size();
    size_t i = 0;
    int line = 1;
    while (i < n) {
        CsvRecord record;
        record.line = line;
        bool bad = false;
        for (;;) {
            std::string field;
            if (text[i] == '"') {
                ++i;
                bool closed = false;
                while (i < n) {
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (AtLineBreak(text, i)) {
                        // Kept as one LF whatever the file used.
                        SkipLineBreak(text, i, line);
                        field += '\n';
                        continue;
                    }
                    field += text[i++];
                }
                if (!closed) {
                    problems.push_back({record.line, "a quoted field is not closed"});
                    return records;
                }
                if (i < n && text[i] != ',' && !AtLineBreak(text, i)) {
                    problems.push_back({line, "text follows the closing quote of a field"});
                    bad = true;
                    while (i < n && !AtLineBreak(text, i))
                        ++i;
                }
            } else {
                // A quote inside an unquoted field is taken as it is.
                while (i < n && text[i] != ',' && !AtLineBreak(text, i))
                    field += text[i++];
            }
            record.fields.push_back(std::move(field));
            if (!bad && i < n && text[i] == ',') {
                ++i;
                if (i == n)
                    record.fields.emplace_back();  // a trailing comma ends with an empty field
                else
                    continue;
            }
            break;
        }
        if (i < n)
            SkipLineBreak(text, i, line);
        const bool blank = record.fields.size() == 1 && record.fields[0].empty();
        if (!bad && !blank)
            records.push_back(std::move(record));
    }
    return records;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string CsvRow(const std::vector<std::string>& fields)
{
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += ',';
        row += CsvField(fields[i]);
    }
    return row + "\r\n";
}
