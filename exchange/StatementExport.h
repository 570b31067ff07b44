#pragma once
// Registers written for other finance programs: CSV and QIF, UTF-8.

#include <string>
#include <vector>

class CAccount;

struct ExportResult
{
    std::string text;
    int entries = 0;      // written
    int voidSkipped = 0;  // void entries QIF has no way to carry
};

// A header row, then one row per entry: account, ISO date, check number,
// description, category, signed amount, fee, cleared and void marks. A
// text cell that starts like a formula (=, +, -, @, tab, CR) is written
// with a quote in front so that a spreadsheet keeps it text.
ExportResult ExportCsv(const std::vector<const CAccount*>& accounts);
// "!Type:Bank" records; a file of several accounts names each in an
// "!Account" block. Each account's list starts with its opening balance,
// so the amounts add up to its balance. A fee goes into a last "Bank Fee" split, so the amount
// is what the bank moved. Void entries are left out: they moved nothing.
ExportResult ExportQif(const std::vector<const CAccount*>& accounts);
