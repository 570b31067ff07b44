#include "ListFixture.h"

#include <QSignalSpy>

class TestXListCtrl : public QObject
{
    Q_OBJECT
private slots:
    void insertFormsTextsAndFailureValues();
    void headingClicksCycleTheOrderBelowPinnedRows();
    void pressesOnDisabledRowsCheckBoxesAndEmptySpace();
    void selectionFollowsRowsThroughSortAndDelete();
    void modelAnswersTheStandardRolesForEveryCell();
    void noGestureSelectsADisabledRow();
    void rowsFromASourceAreWrittenOnlyWhenNeeded();
};

namespace
{
// Rows of "name", an amount and a check box, as a dialog would write them
// right after InsertItem; counts what it writes.
class FruitRows : public CXListRowSource
{
public:
    QStringList names = {"pear", "apple", "fig", "kiwi", "plum"};
    QStringList amounts = {"5.00 ", "10.00 ", "9.00 ", "100.00 ", "0.50 "};
    QList<int> written;

    void WriteRow(CXListCtrl& list, int row, int item) override
    {
        written << item;
        list.SetItemText(row, 0, names[item], Qt::black, QColor(0, 0, 255 - item));
        list.SetItemText(row, 1, amounts[item]);
        list.SetCheckState(row, 2, item % 2);
        list.SetItemData(row, ItemData(item));
    }
    QString CellText(int item, int column) const override
    {
        return column == 0 ? names[item] : column == 1 ? amounts[item] : QString();
    }
    quintptr ItemData(int item) const override { return quintptr(1000 + item); }
    bool HasCheckBox(int column) const override { return column == 2; }
};
}

void TestXListCtrl::insertFormsTextsAndFailureValues()
{
    ListFixture f({100, 100, 100}, {"a"});
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
        QCOMPARE(list->EnsureVisible(row), 0);
    }
    for (int column : {-1, 3})
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
    QCOMPARE(f.Column(0), QStringList({"a"}));
    QCOMPARE(list->GetCheckState(0, 0), -1);
    QVERIFY(list->GetEnabled(0));
    QVERIFY(list->GetSelectedRows().isEmpty());

    // A row index past the end appends; the insertion index keeps what was asked.
    QCOMPARE(list->InsertItem(7, QStringLiteral("last")), 1);
    QCOMPARE(list->GetCell(1, 0)->nInsertionIndex, 7);
    QCOMPARE(list->InsertItem(XLISTITEM{0, 2, QStringLiteral("in col 2")}), 0);
    QCOMPARE(f.Column(2), QStringList({"in col 2", "", ""}));
    QCOMPARE(list->SetItem({2, 1, QStringLiteral("set")}), 1);
    QCOMPARE(list->GetCell(2, 1)->strText, QStringLiteral("set"));

    // Without a text the shown text stays and the sort copy empties.
    QCOMPARE(list->SetItemText(2, 0, nullptr, QColor(), QColor(1, 2, 3)), 1);
    QCOMPARE(list->GetItemText(2, 0), QStringLiteral("last"));
    QVERIFY(list->GetCell(2, 0)->strText.isEmpty());
    QCOMPARE(list->GetCell(2, 0)->crBackground, QColor(1, 2, 3));

    // Item data moves with its row.
    QCOMPARE(list->SetItemData(2, quintptr(0xDEADBEEF)), 1);
    QCOMPARE(list->DeleteItem(0), 1);
    QCOMPARE(list->GetItemData(1), quintptr(0xDEADBEEF));
    QCOMPARE(list->DeleteAllItems(), 1);
    QCOMPARE(list->GetItemCount(), 0);
}

void TestXListCtrl::headingClicksCycleTheOrderBelowPinnedRows()
{
    ListFixture f({100, 100}, {" Opening Balance", "pear", "apple", "fig"});
    CXListCtrl* list = f.list;
    const QStringList amounts = {"50.00 ", "10.00 ", "9.00 ", "100.00 "};
    for (int row = 0; row < amounts.size(); ++row)
        list->SetItemText(row, 1, amounts[row]);
    for (int column = 0; column < 2; ++column)
        list->SetPinKey(0, column, -1);

    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({" Opening Balance", "apple", "fig", "pear"}));
    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({" Opening Balance", "pear", "fig", "apple"}));
    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({" Opening Balance", "pear", "apple", "fig"}));
    f.ClickHeading(0);
    QCOMPARE(f.Column(0), QStringList({" Opening Balance", "apple", "fig", "pear"}));

    // Another heading starts ascending again, by value for amounts.
    f.ClickHeading(1);
    QCOMPARE(f.Column(1), QStringList({"50.00 ", "9.00 ", "10.00 ", "100.00 "}));

    // ReSort repeats the last order, after rows were added.
    list->InsertItem(4, QStringLiteral("kiwi"));
    list->SetItemText(4, 1, QStringLiteral("1.00 "));
    list->ReSort();
    QCOMPARE(f.Column(1), QStringList({"50.00 ", "1.00 ", "9.00 ", "10.00 ", "100.00 "}));
}

void TestXListCtrl::pressesOnDisabledRowsCheckBoxesAndEmptySpace()
{
    ListFixture f({100, 100, 100}, {"cc", "aa", "bb", "total"});
    CXListCtrl* list = f.list;
    for (int row = 0; row < 4; ++row)
        list->SetCheckState(row, 2, 0);
    list->SetItemText(1, 2, QStringLiteral("with text"));
    list->SetEnabled(3, false);

    QStringList events;
    QObject::connect(list, &CXListCtrl::checkBoxClicked, [&](int row, int column) {
        // The state has already changed when the parent hears of it.
        events << QStringLiteral("check %1,%2=%3").arg(row).arg(column).arg(list->GetCheckState(row, column));
    });
    QObject::connect(list, &CXListCtrl::itemClicked, [&](int row, int column, Qt::KeyboardModifiers mods) {
        events << QStringLiteral("click %1,%2%3").arg(row).arg(column).arg(mods & Qt::ShiftModifier ? " shift" : "");
    });
    QSignalSpy doubles(list, &CXListCtrl::itemDoubleClicked);

    // A disabled row swallows presses: no toggle, no notification, no selection.
    f.Press(3, 2);
    f.Press(3, 0);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, f.Cell(3, 0).center());
    QCOMPARE(list->GetCheckState(3, 2), 0);
    QVERIFY(events.isEmpty());
    QCOMPARE(doubles.count(), 0);
    QVERIFY(list->GetSelectedRows().isEmpty());
    QCOMPARE(list->GetSelectionMark(), -1);

    f.Press(0, 2);
    // Anywhere in the cell counts, not only on the box.
    const QRect rect = f.Cell(1, 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(rect.right() - 2, rect.center().y()));
    f.Press(0, 2, Qt::ShiftModifier);
    f.Press(2, 0);
    // Below the rows and right of the columns: no row.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 200));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(350, f.Cell(0, 0).center().y()));
    QCOMPARE(events, QStringList({"check 0,2=1", "click 0,2", "check 1,2=1", "click 1,2", "check 0,2=0",
                                  "click 0,2 shift", "click 2,0", "click -1,-1", "click -1,-1"}));

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, f.Cell(1, 1).center());
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(doubles.at(0).mid(0, 2), QVariantList({1, 1}));

    // After sorting the notification names the row where the box now is;
    // enabled again, the total row takes presses.
    list->SetEnabled(3, true);
    list->SortColumn(0, 0);  // aa, bb, cc, total
    events.clear();
    f.Press(2, 2);
    f.Press(3, 2);
    QCOMPARE(events, QStringList({"check 2,2=1", "click 2,2", "check 3,2=1", "click 3,2"}));
    QCOMPARE(list->GetItemText(2, 0), QStringLiteral("cc"));
}

void TestXListCtrl::selectionFollowsRowsThroughSortAndDelete()
{
    ListFixture f({100}, {"dd", "bb", "aa", "cc"});
    CXListCtrl* list = f.list;

    f.Press(1, 0);  // "bb"
    f.Press(3, 0, Qt::ShiftModifier);  // extends; the mark stays on "bb"
    QCOMPARE(list->GetSelectedRows(), QVector<int>({1, 2, 3}));
    QCOMPARE(list->GetSelectionMark(), 1);
    QCOMPARE(list->GetNextSelected(1), 2);
    QCOMPARE(list->GetNextSelected(3), -1);

    list->SortColumn(0, 0);  // the selected rows bb, aa, cc come first
    QCOMPARE(list->GetSelectedRows(), QVector<int>({0, 1, 2}));
    QCOMPARE(list->GetItemText(list->GetSelectionMark(), 0), QStringLiteral("bb"));
    // Arrow keys move the mark; with Shift they only extend the selection.
    QTest::keyClick(list, Qt::Key_Down);
    const int mark = list->GetSelectionMark();
    QCOMPARE(mark, list->currentIndex().row());
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(list->GetSelectionMark(), mark);
    f.Press(1, 0);

    list->DeleteItem(0);  // "aa"
    QCOMPARE(list->GetItemText(list->GetSelectionMark(), 0), QStringLiteral("bb"));
    list->DeleteItem(list->GetSelectionMark());
    QCOMPARE(list->GetSelectionMark(), -1);

    // Programmatic select and focus move the mark too.
    const unsigned both = CXListCtrl::StateSelected | CXListCtrl::StateFocused;
    list->clearSelection();
    QCOMPARE(list->SetItemState(1, both, both), 1);
    QCOMPARE(list->GetSelectionMark(), 1);
    QCOMPARE(list->GetItemState(1, both), both);
}

void TestXListCtrl::modelAnswersTheStandardRolesForEveryCell()
{
    // What assistive technology reads: texts, check states, colours and
    // emphasis from the model, as the list paints them.
    ListFixture f({100, 100, 100}, {"first", "second"});
    CXListCtrl* list = f.list;
    list->SetItemText(0, 1, QStringLiteral("12.50 "), Qt::red, Qt::yellow);
    list->SetCheckState(0, 2, 1);
    list->SetCheckState(1, 2, 0);
    list->SetBold(1, 0, true);
    const QAbstractItemModel* model = list->model();
    const auto at = [model](int row, int column, int role) { return model->data(model->index(row, column), role); };

    QCOMPARE(at(0, 1, Qt::DisplayRole).toString(), QStringLiteral("12.50 "));
    QCOMPARE(at(1, 0, Qt::DisplayRole).toString(), QStringLiteral("second"));
    QCOMPARE(at(0, 2, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    QCOMPARE(at(1, 2, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    QVERIFY(!at(0, 1, Qt::CheckStateRole).isValid());  // no box in that cell
    QVERIFY(model->flags(model->index(0, 2)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsUserCheckable));
    QCOMPARE(at(0, 1, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    QCOMPARE(at(0, 1, Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::yellow));
    QVERIFY(!at(0, 0, Qt::BackgroundRole).isValid());  // the list's default
    QVERIFY(at(1, 0, Qt::FontRole).value<QFont>().bold() && at(1, 0, Qt::FontRole).value<QFont>().underline());
    QVERIFY(!at(0, 0, Qt::FontRole).isValid());

    // A toggle by a click shows in the model at once.
    QRect cell;
    list->GetSubItemRect(1, 2, CXListCtrl::AreaBounds, cell);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(at(1, 2, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
}

void TestXListCtrl::noGestureSelectsADisabledRow()
{
    for (const bool single : {true, false})
    {
        ListFixture f({100, 100}, {"aa", "total", "bb", "cc"});
        CXListCtrl* list = f.list;
        list->SetSingleSelection(single);
        list->SetEnabled(1, false);
        QWidget* viewport = list->viewport();
        auto drag = [&](int fromRow, int toRow, int dx) {
            const QPoint from = f.Cell(fromRow, 0).center();
            QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(viewport, from + QPoint(dx, 3));
            QTest::mouseMove(viewport, f.Cell(toRow, 0).center() + QPoint(dx, 0));
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, f.Cell(toRow, 0).center() + QPoint(dx, 0));
        };
        const QString mode = single ? QStringLiteral("single") : QStringLiteral("multiple");

        // A press-and-move on the greyed row, alone or sweeping others.
        drag(1, 1, 4);
        QVERIFY2(list->GetSelectedRows().isEmpty(), qPrintable(mode));
        drag(1, 3, 0);
        QVERIFY2(list->GetSelectedRows().isEmpty(), qPrintable(mode));
        // A drag from an enabled row across it, and a Shift range over it.
        drag(0, 2, 0);
        QVERIFY2(!list->GetSelectedRows().contains(1), qPrintable(mode));
        f.Press(0, 0);
        f.Press(3, 0, Qt::ShiftModifier);
        QVERIFY2(!list->GetSelectedRows().contains(1), qPrintable(mode));
        // The keyboard walks over it and Ctrl+A leaves it out.
        f.Press(0, 0);
        QTest::keyClick(list, Qt::Key_Down);
        QVERIFY2(!list->GetSelectedRows().contains(1), qPrintable(mode));
        QCOMPARE(list->GetItemText(list->GetSelectionMark(), 0), QStringLiteral("bb"));
        QTest::keyClick(list, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
        QVERIFY2(!list->GetSelectedRows().contains(1), qPrintable(mode));
        if (!single)
            QCOMPARE(list->GetSelectedRows(), QVector<int>({0, 2, 3}));
    }
}

void TestXListCtrl::rowsFromASourceAreWrittenOnlyWhenNeeded()
{
    ListFixture f({100, 100, 60}, {" Opening Balance"});
    CXListCtrl* list = f.list;
    list->resize(420, 16 * 3 + list->GetHeaderCtrl()->height() + 2);  // room for three rows
    for (int column = 0; column < 3; ++column)
        list->SetPinKey(0, column, -1);
    FruitRows source;
    QCOMPARE(list->InsertItems(-1, 5, &source), -1);
    QCOMPARE(list->InsertItems(9, 5, &source), 1);
    QCOMPARE(list->GetItemCount(), 6);

    // Finding a record among the rows, selecting them all and sorting them
    // write none.
    for (int row = 1; row < 6; ++row)
        QCOMPARE(list->GetItemData(row), quintptr(1000 + row - 1));
    list->selectAll();
    QCOMPARE(list->GetSelectedCount(), 6);
    QCOMPARE(list->model()->flags(list->model()->index(3, 2)) & Qt::ItemIsUserCheckable, Qt::ItemIsUserCheckable);
    list->clearSelection();
    list->SortColumn(1, CXListCtrl::SortAscending);
    QCOMPARE(list->GetItemData(1), quintptr(1004));  // 0.50
    QCOMPARE(list->GetItemData(5), quintptr(1003));  // 100.00
    list->SortColumn(0, CXListCtrl::SortDescending);
    QVERIFY(source.written.isEmpty());

    // Painting writes the rows in view; reading a row writes that one.
    f.Viewport();
    QCOMPARE(source.written, QList<int>({4, 0}));  // plum, pear under the opening row
    QCOMPARE(list->GetItemText(4, 0), QStringLiteral("fig"));
    QCOMPARE(source.written.size(), 3);
    QCOMPARE(list->GetItemText(4, 0), QStringLiteral("fig"));
    QCOMPARE(source.written.size(), 3);

    // A written row is what InsertItem and the same calls would make: the
    // insertion order it was given, its colours, box and value.
    list->SortColumn(0, CXListCtrl::SortInsertion);
    QCOMPARE(f.Column(0), QStringList({" Opening Balance", "pear", "apple", "fig", "kiwi", "plum"}));
    QCOMPARE(source.written.size(), 5);
    const XLISTCELL* cell = list->GetCell(2, 0);
    QCOMPARE(cell->nInsertionIndex, 2);
    QCOMPARE(cell->crBackground, QColor(0, 0, 254));
    QCOMPARE(cell->strText, QStringLiteral("apple"));
    QCOMPARE(list->GetCheckState(2, 2), 1);
    QCOMPARE(list->GetItemData(2), quintptr(1001));

    // A change to an unwritten row lands on the written row.
    list->DeleteAllItems();
    source.written.clear();
    list->InsertItems(0, 5, &source);
    QCOMPARE(list->SetItemText(4, 1, QStringLiteral("7.00 ")), 1);
    QCOMPARE(source.written, QList<int>({4}));
    QCOMPARE(list->GetItemText(4, 1), QStringLiteral("7.00 "));
    QCOMPARE(list->GetItemText(4, 0), QStringLiteral("plum"));
    list->SortColumn(1, CXListCtrl::SortAscending);
    QCOMPARE(f.Column(1), QStringList({"5.00 ", "7.00 ", "9.00 ", "10.00 ", "100.00 "}));
}

QTEST_MAIN(TestXListCtrl)
#include "tst_XListCtrl.moc"
