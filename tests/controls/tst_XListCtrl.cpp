#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QSignalSpy>
#include <QtTest>

class TestXListCtrl : public QObject
{
    Q_OBJECT
private slots:
    void badIndexesReturnTheFailureValues();
    void insertFormsAndTexts();
    void headingClicksCycleTheOrder();
    void pinnedRowsStayFirst();
    void disabledRowsSwallowPresses();
    void checkBoxPressTogglesAndNotifiesBeforeTheClick();
    void clicksOutsideRowsAndDoubleClicks();
    void selectionFollowsRowsThroughSortAndDelete();
};

namespace
{
// A list with the given columns, shown so that clicks and geometry work.
struct ListFixture
{
    QWidget parent;
    CXListCtrl* list;

    explicit ListFixture(int columns = 3)
    {
        parent.resize(400, 300);
        list = new CXListCtrl(&parent);
        list->setGeometry(10, 10, 380, 280);
        for (int c = 0; c < columns; ++c)
            list->InsertColumn(c, QStringLiteral("Col %1").arg(c), Qt::AlignLeft, 100);
        list->SetFullRowSelect(true);
        parent.show();
        QVERIFY2(QTest::qWaitForWindowExposed(&parent), "window not exposed");
    }

    void AddRows(const QStringList& col0)
    {
        for (const QString& text : col0)
            list->InsertItem(list->GetItemCount(), text);
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts << list->GetItemText(row, column);
        return texts;
    }

    QPoint CellCentre(int row, int column) const
    {
        QRect rect;
        list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, rect);
        return rect.center();
    }

    void Press(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, CellCentre(row, column));
    }

    void ClickHeading(int column)
    {
        CXHeaderCtrl* header = list->GetHeaderCtrl();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
    }
};
}

void TestXListCtrl::badIndexesReturnTheFailureValues()
{
    ListFixture f(2);
    f.AddRows({"a"});
    CXListCtrl* list = f.list;
    QRect rect;
    for (int row : {-1, 1})
    {
        QCOMPARE(list->SetItemText(row, 0, QStringLiteral("x")), 0);
        QCOMPARE(list->SetItemText(row, 0, nullptr, Qt::red, Qt::blue), 0);
        QCOMPARE(list->DeleteItem(row), 0);
        QCOMPARE(list->SetCheckState(row, 0, 1), 0);
        QCOMPARE(list->SetEnabled(row, false), 0);
        QCOMPARE(list->SetBold(row, 0, true), 0);
        QCOMPARE(list->SetPinKey(row, 0, -1), 0);
        QCOMPARE(list->SetItemData(row, 42), 0);
        QCOMPARE(list->GetItemData(row), quintptr(0));
        QCOMPARE(list->GetSubItemRect(row, 0, CXListCtrl::AreaBounds, rect), 0);
        QCOMPARE(list->SetItemState(row, CXListCtrl::StateSelected, CXListCtrl::StateSelected), 0);
    }
    for (int column : {-1, 2})
    {
        QCOMPARE(list->SetItemText(0, column, QStringLiteral("x")), 0);
        QCOMPARE(list->SetCheckState(0, column, 1), 0);
        QCOMPARE(list->SetBold(0, column, true), 0);
        QCOMPARE(list->SetPinKey(0, column, 1), 0);
        QCOMPARE(list->GetSubItemRect(0, column, CXListCtrl::AreaBounds, rect), 0);
        QCOMPARE(list->SetItem({0, column, QStringLiteral("x")}), 0);
    }
    QCOMPARE(list->InsertItem(-1, QStringLiteral("x")), -1);
    QCOMPARE(list->InsertItem(XLISTITEM{-1, 0, QStringLiteral("x")}), -1);
    QCOMPARE(list->SetItem({-1, 0, QStringLiteral("x")}), -1);
    QCOMPARE(list->SetItem({5, 0, QStringLiteral("x")}), 0);
    // Nothing above changed the one row.
    QCOMPARE(list->GetItemCount(), 1);
    QCOMPARE(list->GetItemText(0, 0), QStringLiteral("a"));
    QCOMPARE(list->GetCheckState(0, 0), -1);
    QVERIFY(list->GetEnabled(0));
    QVERIFY(list->GetSelectedRows().isEmpty());
}

void TestXListCtrl::insertFormsAndTexts()
{
    ListFixture f(3);
    CXListCtrl* list = f.list;
    // A row index past the end appends; the insertion index keeps what was asked.
    QCOMPARE(list->InsertItem(7, QStringLiteral("first"), Qt::red, Qt::yellow), 0);
    QCOMPARE(list->GetCell(0, 0)->nInsertionIndex, 7);
    QCOMPARE(list->GetCell(0, 0)->crText, QColor(Qt::red));
    QCOMPARE(list->InsertItem(XLISTITEM{0, 2, QStringLiteral("in col 2")}), 0);
    QCOMPARE(list->GetItemText(0, 2), QStringLiteral("in col 2"));
    QCOMPARE(list->GetItemText(1, 0), QStringLiteral("first"));
    QCOMPARE(list->SetItem({1, 1, QStringLiteral("set")}), 1);
    QCOMPARE(list->GetCell(1, 1)->strText, QStringLiteral("set"));

    // Without a text the shown text stays, the sort copy empties, and an
    // invalid colour brings the default back.
    QCOMPARE(list->SetItemText(1, 0, nullptr, QColor(), QColor(1, 2, 3)), 1);
    QCOMPARE(list->GetItemText(1, 0), QStringLiteral("first"));
    QVERIFY(list->GetCell(1, 0)->strText.isEmpty());
    QVERIFY(!list->GetCell(1, 0)->crText.isValid());
    QCOMPARE(list->GetCell(1, 0)->crBackground, QColor(1, 2, 3));

    QCOMPARE(list->SetItemData(1, quintptr(0xDEADBEEF)), 1);
    QCOMPARE(list->GetItemData(1), quintptr(0xDEADBEEF));
    QCOMPARE(list->DeleteItem(0), 1);
    QCOMPARE(list->GetItemData(0), quintptr(0xDEADBEEF));
    QCOMPARE(list->DeleteAllItems(), 1);
    QCOMPARE(list->GetItemCount(), 0);
}

void TestXListCtrl::headingClicksCycleTheOrder()
{
    ListFixture f(2);
    f.AddRows({"pear", "apple", "fig"});
    CXListCtrl* list = f.list;
    // Text given with the text of the cell record, so sorting sees it.
    list->SetItemText(0, 1, QStringLiteral("10.00 "));
    list->SetItemText(1, 1, QStringLiteral("9.00 "));
    list->SetItemText(2, 1, QStringLiteral("100.00 "));

    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({"apple", "fig", "pear"}));
    QCOMPARE(list->GetHeaderCtrl()->GetSortOrder(), 0);
    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({"pear", "fig", "apple"}));
    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({"pear", "apple", "fig"}));
    QCOMPARE(list->GetSortOrder(), 2);
    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({"apple", "fig", "pear"}));

    // Another heading starts ascending again, by value for amounts.
    f.ClickHeading(1);
    QCOMPARE(list->GetSortColumn(), 1);
    QCOMPARE(f.Column(1), QStringList({"9.00 ", "10.00 ", "100.00 "}));
    QVERIFY(list->GetHeaderCtrl()->IsMarked(0));

    // ReSort repeats the last order, after rows were added.
    list->InsertItem(3, QStringLiteral("kiwi"));
    list->SetItemText(3, 1, QStringLiteral("1.00 "));
    list->ReSort();
    QCOMPARE(f.Column(1), QStringList({"1.00 ", "9.00 ", "10.00 ", "100.00 "}));
}

void TestXListCtrl::pinnedRowsStayFirst()
{
    ListFixture f(3);
    CXListCtrl* list = f.list;
    list->InsertItem(0, QString());
    list->SetItemText(0, 1, QStringLiteral(" Opening Balance"));
    list->SetItemText(0, 2, QStringLiteral("50.00 "));
    for (int c = 0; c < 3; ++c)
        list->SetPinKey(0, c, -1);
    const QStringList dates = {"03/01/05", "01/02/05", "02/03/05"};
    for (int i = 0; i < dates.size(); ++i)
    {
        list->InsertItem(i + 1, dates[i]);
        list->SetItemText(i + 1, 1, QStringLiteral("Entry %1").arg(i));
        list->SetItemText(i + 1, 2, QStringLiteral("%1.00 ").arg(i * 70));
    }
    for (int column = 0; column < 3; ++column)
        for (int order = 0; order < 3; ++order)
        {
            list->SortColumn(column, order);
            QCOMPARE(list->GetItemText(0, 1), QStringLiteral(" Opening Balance"));
        }
    list->SortColumn(0, 0);
    QCOMPARE(f.Column(0), QStringList({"", "01/02/05", "02/03/05", "03/01/05"}));
}

void TestXListCtrl::disabledRowsSwallowPresses()
{
    ListFixture f(2);
    f.AddRows({"one", "total"});
    CXListCtrl* list = f.list;
    list->SetCheckState(1, 1, 0);
    list->SetEnabled(1, false);
    QSignalSpy checks(list, &CXListCtrl::checkBoxClicked);
    QSignalSpy clicks(list, &CXListCtrl::itemClicked);

    f.Press(1, 1);
    f.Press(1, 0);
    QCOMPARE(list->GetCheckState(1, 1), 0);
    QCOMPARE(checks.count(), 0);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(list->GetSelectedRows().isEmpty());
    QCOMPARE(list->GetSelectionMark(), -1);

    // Enabled again, the same press works.
    list->SetEnabled(1, true);
    f.Press(1, 1);
    QCOMPARE(list->GetCheckState(1, 1), 1);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(list->GetSelectedRows(), QVector<int>({1}));
}

void TestXListCtrl::checkBoxPressTogglesAndNotifiesBeforeTheClick()
{
    ListFixture f(3);
    f.AddRows({"cc", "aa", "bb"});
    CXListCtrl* list = f.list;
    for (int row = 0; row < 3; ++row)
        list->SetCheckState(row, 2, 0);
    list->SetItemText(1, 2, QStringLiteral("with text"));

    QStringList events;
    QObject::connect(list, &CXListCtrl::checkBoxClicked, [&](int row, int column) {
        // The state has already changed when the parent hears of it.
        events << QStringLiteral("check %1,%2=%3").arg(row).arg(column).arg(list->GetCheckState(row, column));
    });
    QObject::connect(list, &CXListCtrl::itemClicked, [&](int row, int column, Qt::KeyboardModifiers mods) {
        events << QStringLiteral("click %1,%2%3").arg(row).arg(column).arg(mods & Qt::ShiftModifier ? " shift" : "");
    });

    f.Press(0, 2);
    // Anywhere in the cell counts, not only on the box.
    QRect rect;
    list->GetSubItemRect(1, 2, CXListCtrl::AreaBounds, rect);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(rect.right() - 2, rect.center().y()));
    f.Press(0, 2, Qt::ShiftModifier);
    f.Press(2, 0);
    QCOMPARE(events, QStringList({"check 0,2=1", "click 0,2", "check 1,2=1", "click 1,2", "check 0,2=0",
                                  "click 0,2 shift", "click 2,0"}));

    // After sorting the notification names the row where the box now is.
    list->SortColumn(0, 0);  // aa, bb, cc
    events.clear();
    f.Press(2, 2);
    QCOMPARE(events, QStringList({"check 2,2=1", "click 2,2"}));
    QCOMPARE(list->GetItemText(2, 0), QStringLiteral("cc"));
}

void TestXListCtrl::clicksOutsideRowsAndDoubleClicks()
{
    ListFixture f(2);
    f.AddRows({"one", "two"});
    CXListCtrl* list = f.list;
    QSignalSpy clicks(list, &CXListCtrl::itemClicked);
    QSignalSpy doubles(list, &CXListCtrl::itemDoubleClicked);

    // Below the rows and right of the columns: no row.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 200));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(300, f.CellCentre(0, 0).y()));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(0).at(0).toInt(), -1);
    QCOMPARE(clicks.at(1).at(0).toInt(), -1);

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, f.CellCentre(1, 1));
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(doubles.at(0).at(0).toInt(), 1);
    QCOMPARE(doubles.at(0).at(1).toInt(), 1);

    list->SetEnabled(0, false);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, f.CellCentre(0, 0));
    QCOMPARE(doubles.count(), 1);
}

void TestXListCtrl::selectionFollowsRowsThroughSortAndDelete()
{
    ListFixture f(1);
    f.AddRows({"dd", "bb", "aa", "cc"});
    CXListCtrl* list = f.list;

    f.Press(1, 0);  // "bb"
    QCOMPARE(list->GetSelectionMark(), 1);
    f.Press(3, 0, Qt::ShiftModifier);  // extends; the mark stays on "bb"
    QCOMPARE(list->GetSelectedRows(), QVector<int>({1, 2, 3}));
    QCOMPARE(list->GetSelectionMark(), 1);
    QCOMPARE(list->GetSelectedCount(), 3);
    QCOMPARE(list->GetNextSelected(), 1);
    QCOMPARE(list->GetNextSelected(1), 2);
    QCOMPARE(list->GetNextSelected(3), -1);

    list->SortColumn(0, 0);  // the selected rows bb, aa, cc come first
    QCOMPARE(list->GetSelectedRows(), QVector<int>({0, 1, 2}));
    QCOMPARE(list->GetItemText(list->GetSelectionMark(), 0), QStringLiteral("bb"));
    // Arrow keys move the mark; with Shift they only extend the selection.
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->GetSelectionMark(), list->currentIndex().row());
    const int mark = list->GetSelectionMark();
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(list->GetSelectionMark(), mark);
    QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(list->GetSelectionMark(), 0);
    f.Press(1, 0);

    list->DeleteItem(0);  // "aa"
    QCOMPARE(list->GetItemText(list->GetSelectionMark(), 0), QStringLiteral("bb"));
    list->DeleteItem(list->GetSelectionMark());
    QCOMPARE(list->GetSelectionMark(), -1);

    // Programmatic select and focus move the mark too.
    list->clearSelection();
    QCOMPARE(list->SetItemState(1, CXListCtrl::StateSelected | CXListCtrl::StateFocused,
                                CXListCtrl::StateSelected | CXListCtrl::StateFocused), 1);
    QCOMPARE(list->GetSelectionMark(), 1);
    QCOMPARE(list->GetItemState(1, CXListCtrl::StateSelected | CXListCtrl::StateFocused),
             unsigned(CXListCtrl::StateSelected | CXListCtrl::StateFocused));
    list->SetSingleSelection(true);
    list->SetItemState(0, CXListCtrl::StateSelected, CXListCtrl::StateSelected);
    QCOMPARE(list->GetSelectedRows(), QVector<int>({0}));
    QCOMPARE(list->EnsureVisible(1), 1);
    QCOMPARE(list->EnsureVisible(9), 0);
}

QTEST_MAIN(TestXListCtrl)
#include "tst_XListCtrl.moc"
