// Writes the seed corpora: small checkbooks as the program writes them,
// and the same encrypted with the passphrase "fuzz" at the tests' cost.
// Build and run by hand when the format's writer changes:
//   c++ -std=c++17 -DQUILLET_TEST_SEAL_COST -I../ledger -I../security make_corpus.cpp ../ledger/*.cpp \
//       ../security/*.cpp -lsodium -lcrypt -o /tmp/make_corpus && /tmp/make_corpus corpus corpus-sealed
#include "AppValues.h"
#include "CheckbookFile.h"
#include "QuilletDoc.h"
#include "SealedFile.h"

#include <fstream>
#include <string>

namespace
{
SealKeyPtr g_key;
std::string g_sealedFolder;

void Save(const std::string& folder, const std::string& name, const CQuilletDoc& doc)
{
    const std::string image = WriteCheckbook(doc);
    std::ofstream(folder + "/" + name, std::ios::binary) << image;
    std::ofstream(g_sealedFolder + "/" + name, std::ios::binary) << SealImage(image, *g_key);
}
}

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "corpus";
    g_sealedFolder = argc > 2 ? argv[2] : "corpus-sealed";
    std::string passphrase = "fuzz";
    if (CSealKey::Make(CSecret::Take(passphrase), g_key) != SealStatus::Ok)
        return 1;
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
