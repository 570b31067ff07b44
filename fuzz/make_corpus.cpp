// Writes the seed corpus: small checkbooks as the program writes them.
// Build and run by hand when the format's writer changes:
//   c++ -std=c++17 -I../ledger make_corpus.cpp ../ledger/*.cpp -o /tmp/make_corpus && /tmp/make_corpus corpus
#include "AppValues.h"
#include "CheckbookFile.h"
#include "QuilletDoc.h"

#include <fstream>
#include <string>

namespace
{
void Save(const std::string& folder, const std::string& name, const CQuilletDoc& doc)
{
    std::ofstream(folder + "/" + name, std::ios::binary) << WriteCheckbook(doc);
}
}

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "corpus";
    AppValues::ResetToDefaults();

    CQuilletDoc empty;
    empty.m_pCategoryList->RemoveAll();
    Save(folder, "empty", empty);

    CQuilletDoc doc;
    doc.m_pCategoryList->RemoveAll();
    doc.m_pCategoryList->AddCategory("Cash", 5);
    doc.m_pCategoryList->AddCategory("Food", 2);
    doc.AddAccount("Main", "12345", 100.0, "Ann", "", "1-2");
    doc.AddAccount("Savings", "12345", 0.0, "", "", "");
    doc.AddEntry("Main", CTime(int64_t(946684800)), "101", "Rent", "Mortgage", 50.25, 0.0, 0, 1, 0, 2);
    doc.AddEntry("Main", CTime(int64_t(946771200)), "", "Pay", "Salary", 900.0, 1.5, 1, 0, 1, 0);
    doc.AddRecurring("Main", 12.5, CTime(int64_t(946684800)), "Gym", "Health", "Monthly", "Forever", 1);
    doc.ClearDayChartAccounts();
    doc.SetDayChartAccount(0, "Main");
    doc.SetDayChartAccount(3, "Savings");
    Save(folder, "plain", doc);

    g_strPasswordHash = "abJnggxhB/yWI";
    g_strCategoryAccount = "Main";
    Save(folder, "protected", doc);
    return 0;
}
