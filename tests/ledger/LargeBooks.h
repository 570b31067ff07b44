#pragma once
// Checkbooks far larger than a person types, as imports and scripts make
// them; shared by the command line's and the window's tests.
#include "QuilletDoc.h"

#include <cstdio>
#include <string>

namespace LargeBooks
{
constexpr int kMany = 100000;

inline std::string Name(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "Account %06d", i);
    return name;
}

// Five accounts and kMany bills "Bill r", from 20 days overdue to 59 days
// ahead of now, amounts 1 + r % 50; answers how many fall within 20 days.
inline int AddManyRecurring(CQuilletDoc& doc, CTime now)
{
    for (int a = 0; a < 5; ++a)
        doc.AddAccount(Name(a), "", 0.0, "", "", "");
    int due = 0;
    for (int r = 0; r < kMany; ++r) {
        const int days = r % 80 - 20;
        doc.AddRecurring(Name(r % 5), 1.0 + r % 50, now + days * CTime::kDay, "Bill " + std::to_string(r), "",
                         "Monthly", "Forever", 0);
        due += days <= 20;
    }
    return due;
}
}  // namespace LargeBooks
