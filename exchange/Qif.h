#pragma once
// The Quicken interchange format for bank registers: "!Type:Bank" and
// records of D (date), T (amount), N (number), P (payee), M (memo),
// L (category), C (cleared), S/$ (split category/amount), ended by "^".

#include "Csv.h"

#include <string>
#include <vector>

struct QifSplit
{
    std::string category;
    std::string amount;
};

// A record's fields as text, undecoded.
struct QifRecord
{
    int line = 0;  // of its first field
    std::string date, amount, number, payee, memo, category, cleared;
    std::vector<QifSplit> splits;
};

// Reads the register records of every bank-like section (Bank, Cash,
// CCard, Oth A, Oth L); category and class lists are passed over. The
// names of "!Account" records are gathered in accounts.
std::vector<QifRecord> ParseQif(const std::string& text, std::vector<std::string>& accounts,
                                std::vector<TextProblem>& problems);

// Writing: a header per account when a file holds several, and one record.
std::string QifAccountHeader(const std::string& name);
std::string QifRecordText(const QifRecord& record);
