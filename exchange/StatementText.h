#pragma once
// Small text rules the statement readers share.

#include <string>

namespace StatementText
{
std::string Lower(std::string text);
// Runs of blanks and line breaks become one space, with none at the ends.
std::string NormalizeSpaces(const std::string& text);
// A statement's UTF-8 text as the ledger's bytes, on one line. Names are
// kept as they are (the default deposit categories begin with a blank);
// descriptions (trim) lose the padding bank exports add.
std::string LedgerText(const std::string& utf8, bool trim);
// A statement's bytes as UTF-8. Many banks and older programs still write
// Windows-1252, the checkbook's own code page; text that is not UTF-8 is
// read as that rather than refused. A byte order mark is dropped.
std::string AsUtf8(const std::string& bytes);
}
