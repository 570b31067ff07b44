#pragma once
// A small checkbook for the register and reconcile dialog tests, and the
// clicks a user makes on a grid list.

#include "QuilletDoc.h"
#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QTest>

// "Checking" (number 111, opening 50.00):
//   Groceries Market  -20.00 fee 0.50, flag 3
//   Rent Payment     -100.00 void, flag 2
//   Salary June       +30.00 cleared, flag 6
// "Savings" (number 111, opening 100.00): +10.00 cleared.
// "Travel" (number 222, opening 1000.00): +200.50 cleared, -40.00.
struct SampleBook
{
    CQuilletDoc doc;
    CTransaction* groceries = nullptr;
    CTransaction* rent = nullptr;
    CTransaction* salary = nullptr;

    SampleBook()
    {
        doc.AddAccount("Checking", "111", 50.0, "Pat", "First Bank", "");
        doc.AddAccount("Savings", "111", 100.0, "Pat", "First Bank", "");
        doc.AddAccount("Travel", "222", 1000.0, "Pat", "Other Bank", "");
        groceries = doc.AddEntry("Checking", CTime(2024, 6, 1, 9, 30, 0), "101", "Groceries Market", "Groceries",
                                 20.0, 0.5, 0, 0, 0, 3);
        rent = doc.AddEntry("Checking", CTime(2024, 6, 3, 9, 0, 0), "102", "Rent Payment", "Mortgage", 100.0, 0.0,
                            0, 0, 1, 2);
        salary = doc.AddEntry("Checking", CTime(2024, 6, 5, 9, 0, 0), "", "Salary June", " Deposit-Salary", 30.0,
                              0.0, 1, 1, 0, 6);
        doc.AddEntry("Savings", CTime(2024, 6, 2, 9, 0, 0), "", "Interest", " Deposit-Interest", 10.0, 0.0, 1, 1, 0,
                     6);
        doc.AddEntry("Travel", CTime(2024, 6, 4, 9, 0, 0), "", "Refund", " Deposit-Other", 200.5, 0.0, 1, 1, 0, 6);
        doc.AddEntry("Travel", CTime(2024, 6, 6, 9, 0, 0), "7", "Train", "Travel", 40.0, 0.0, 0, 0, 0, 5);
        doc.SetModifiedFlag(false);
    }
};

inline void ClickCell(CXListCtrl* list, int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QRect cell;
    QVERIFY(list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, cell));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, cell.center());
}

inline void ClickHeading(CXListCtrl* list, int column)
{
    QHeaderView* header = list->horizontalHeader();
    const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
}

inline int RowOfEntry(const CXListCtrl* list, const CTransaction* entry)
{
    for (int row = 0; row < list->GetItemCount(); ++row)
        if (list->GetItemData(row) == reinterpret_cast<quintptr>(entry))
            return row;
    return -1;
}

// A row's cell texts joined with "|", so one comparison reads a whole row.
inline QString RowText(const CXListCtrl* list, int row)
{
    QStringList cells;
    for (int column = 0; column < list->GetColumns(); ++column)
        cells << list->GetItemText(row, column);
    return cells.join(QLatin1Char('|'));
}
