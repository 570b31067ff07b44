#pragma once
// Comma-separated values as RFC 4180 has them: fields separated by commas,
// records by line breaks, a quoted field holding commas, doubled quotes and
// line breaks.

#include <string>
#include <vector>

struct CsvRecord
{
    int line = 0;  // where the record starts, from 1
    std::vector<std::string> fields;
};

struct TextProblem
{
    int line = 0;
    std::string message;
};

// Reads every record; blank lines are passed over. A record that breaks
// the quoting rules becomes a problem naming its line, and reading goes on
// at the next line so that every such record is reported at once.
std::vector<CsvRecord> ParseCsv(const std::string& text, std::vector<TextProblem>& problems);

// One field, quoted only when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text);
// A record with its CRLF.
std::string CsvRow(const std::vector<std::string>& fields);
