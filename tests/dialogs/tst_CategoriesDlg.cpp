#include "CategoriesDlg.h"
#include "DialogTestSupport.h"
#include "TextCodec.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <map>
#include <set>

class TestCategoriesDlg : public QObject
{
    Q_OBJECT
    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CDocHistory> m_history;
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<CCategoriesDlg> m_dialog;

    CXListCtrl* List() { return m_dialog->List(); }
    QLineEdit* NameEdit() { return Find<QLineEdit>(m_dialog.get(), "nameEdit"); }
    QComboBox* FlagCombo() { return Find<QComboBox>(m_dialog.get(), "flagCombo"); }
    const CCategoryList& Categories() { return *m_doc->m_pCategoryList; }
    void Click(const QString& button) { ClickButton(m_dialog.get(), button); }
    void Insert(const QString& name)
    {
        RetypeText(NameEdit(), name);
        Click(u"Insert"_s);
    }
    void ChooseFlag(int flag) { Choose(FlagCombo(), flag); }
    int RowOf(const QString& name)
    {
        int row = List()->GetItemCount() - 1;
        while (row >= 0 && List()->GetItemText(row, 0) != name)
            --row;
        return row;
    }

private slots:
    void init()
    {
        m_dialog.reset();  // the last test's, before its document and messages
        m_messages.reset();
        FixClock();
        m_doc = std::make_unique<CQuilletDoc>();
        m_messages = std::make_unique<MessageLog>();
        m_history = std::make_unique<CDocHistory>(*m_doc);
        m_dialog = std::make_unique<CCategoriesDlg>(*m_history);
        Show(*m_dialog);
    }

    void insertLandsAtByteOrderAndDeleteTakesThatRow()
    {
        QCOMPARE(RowText(List(), 0), u" Deposit-Bonus|6"_s);
        // Existing and empty names are refused.
        ChooseFlag(3);
        Insert(u"Cash"_s);
        QCOMPARE(Categories().GetCategoryFlag("Cash"), 5);
        Insert(QString());
        QCOMPARE(m_messages->texts, QStringList({u"Category: Invalid Value.\nThe category \"Cash\" already exists."_s,
                                                 u"Category: Invalid Value.\nYou must enter a category name."_s}));
        QCOMPARE(List()->GetItemCount(), 41);

        ChooseFlag(8);
        Insert(u"cable"_s);  // small letters sort after every capital
        const int row = RowOf(u"cable"_s);
        QCOMPARE(List()->GetItemText(row - 1, 0), u"Water"_s);
        QCOMPARE(List()->GetItemText(row + 1, 0), u"xfer to Bills"_s);
        QCOMPARE(RowText(List(), row), u"cable|8"_s);
        QCOMPARE(List()->GetNextSelected(-1), row);  // the new row is shown
        Insert(u" Deposit-Gift"_s);  // a leading space sorts first
        QCOMPARE(RowOf(u" Deposit-Gift"_s), 2);

        ClickCell(List(), 10);
        const QString clicked = List()->GetItemText(10, 0);
        QCOMPARE(NameEdit()->text(), clicked);
        Click(u"Delete"_s);
        QCOMPARE(RowOf(clicked), -1);
        QCOMPARE(Categories().GetCategoryFlag(ToBytes(clicked)), -1);
        QCOMPARE(Categories().m_categories.size(), size_t(42));
        for (int i = 0; i < 42; ++i)
            QCOMPARE(List()->GetItemText(i, 0), FromBytes(Categories().m_categories[size_t(i)]->m_strName));
        QVERIFY(m_doc->IsModified());

        // After a delete nothing is selected, so a second press removes nothing.
        Click(u"Delete"_s);
        QCOMPARE(Categories().m_categories.size(), size_t(42));
    }

    void randomWalkKeepsRowsFieldsAndDocumentInStep();

    void modifyChangesTheSelectedFlagAndInPlaceEditsNothing()
    {
        Click(u"Delete"_s);  // nothing selected yet: no effect
        Click(u"Modify"_s);
        QCOMPARE(Categories().m_categories.size(), size_t(41));
        QCOMPARE(Categories().GetCategoryFlag(" Deposit-Bonus"), 6);

        ClickCell(List(), 12);
        QCOMPARE(NameEdit()->text(), u"Cable"_s);
        QCOMPARE(FlagCombo()->currentIndex(), 1);
        ChooseFlag(10);
        Click(u"Modify"_s);
        QCOMPARE(Categories().GetCategoryFlag("Cable"), 10);
        QCOMPARE(RowText(List(), 12), u"Cable|10"_s);
        QCOMPARE(List()->GetCell(12, 0)->crBackground, QColor(0xFF, 0x00, 0x00));
        QCOMPARE(List()->GetNextSelected(-1), 12);

        QRect cell;
        List()->GetSubItemRect(3, 0, CXListCtrl::AreaBounds, cell);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::keyClicks(List(), u"Renamed"_s);
        QCOMPARE(List()->GetItemText(3, 0), u" Deposit-Other"_s);
        QCOMPARE(Categories().m_categories[3]->m_strName, std::string(" Deposit-Other"));

        // Without a flag chosen in a fresh dialog a category gets flag 0, never -1.
        CCategoriesDlg fresh(*m_history);
        fresh.show();
        RetypeText(Find<QLineEdit>(&fresh, "nameEdit"), u"Pets"_s);
        ClickButton(&fresh, u"Insert"_s);
        QCOMPARE(Categories().GetCategoryFlag("Pets"), 0);
    }
};

void TestCategoriesDlg::randomWalkKeepsRowsFieldsAndDocumentInStep()
{
    const auto NameAndFlag = [](const CCategory& category) {
        return std::make_pair(category.m_strName, category.m_nFlag);
    };
    const std::vector<QString> names = {u"Cable"_s, u"cable"_s, u"Medical"_s, u" Deposit-Stock"_s, u"Pets"_s,
                                        u"Zoo"_s,   u""_s,      u"Aardvark"_s, u"Pets "_s};
    RandomWalk walk(55);
    HistoryKeys keys(*m_history);
    for (int step = 0; step < 200; ++step) {
        const auto before = SnapshotOf(Categories().m_categories, NameAndFlag);
        const int selectedRow = List()->GetNextSelected(-1);
        const auto* selected =
            reinterpret_cast<const CCategory*>(selectedRow >= 0 ? List()->GetItemData(selectedRow) : 0);
        const std::string typed = ToBytes(NameEdit()->text());
        const int flag = FlagCombo()->currentIndex();
        const int shownBefore = m_messages->count();

        // Undo and redo take the list back and forth through its steps.
        enum Kind { Gesture, Name, Flag, Button, History } kind;
        const int roll = walk.Pick(100);
        kind = roll < 40 ? Gesture : roll < 55 ? Name : roll < 64 ? Flag : roll < 85 ? Button : History;
        QString pressed;
        switch (kind) {
        case History:
            keys.Press(walk, {List(), List(), NameEdit()});
            break;
        case Gesture:
            RandomListGesture(walk, List());
            break;
        case Name:
            walk.Step(u"name"_s);
            RetypeText(NameEdit(), walk.PickOf(names));
            break;
        case Flag:
            walk.Step(u"flag"_s);
            FlagCombo()->setCurrentIndex(walk.Pick(kFlagCount));
            break;
        case Button:
            pressed = PressRandomButton(walk, m_dialog.get(), {u"Insert"_s, u"Insert"_s, u"Modify"_s, u"Delete"_s});
            break;
        }

        const auto after = SnapshotOf(Categories().m_categories, NameAndFlag);
        const auto [removed, added, changed] = Compare(before, after);
        WALK_VERIFY(walk, keys.Check(kind == History));
        bool existed = false;
        for (const auto& [category, values] : before)
            existed = existed || values.first == typed;

        // Apart from undo and redo, only the button pressed changes the list.
        if (kind != History) {
            WALK_VERIFY(walk, removed.empty() || (pressed == u"Delete"_s && removed.size() == 1 && removed[0] == selected)
                                  ? QString()
                                  : u"a category was removed that was not the selected one"_s);
            WALK_VERIFY(walk, changed.empty() || (pressed == u"Modify"_s && changed.size() == 1 &&
                                                  changed[0] == selected && after.at(selected).second == flag)
                                  ? QString()
                                  : u"a category changed that was not the selected one"_s);
            WALK_VERIFY(walk, added.empty() || (pressed == u"Insert"_s && added.size() == 1 &&
                                                after.at(added[0]) == std::make_pair(typed, flag))
                                  ? QString()
                                  : u"a category was added that is not the one typed"_s);
        }
        if (pressed == u"Insert"_s && (existed || typed.empty()))
            WALK_VERIFY(walk, m_messages->count() == shownBefore + 1 && added.empty()
                                  ? QString()
                                  : u"an existing or empty name was not refused with a message"_s);
        if (pressed == u"Insert"_s && !existed && !typed.empty())
            WALK_VERIFY(walk, added.size() == 1 ? QString() : u"a new name was not inserted"_s);

        // Every row shows one category as the list holds it; a row chosen
        // with the mouse or the keys shows in the fields.
        std::set<const CCategory*> seen;
        for (int row = 0; row < List()->GetItemCount(); ++row) {
            const auto* category = reinterpret_cast<const CCategory*>(List()->GetItemData(row));
            WALK_VERIFY(walk, after.count(category) && seen.insert(category).second &&
                                      RowText(List(), row) == u"%1|%2"_s.arg(FromBytes(category->m_strName))
                                                                  .arg(category->m_nFlag)
                                  ? QString()
                                  : u"row %1 does not show a category of the list"_s.arg(row));
        }
        WALK_VERIFY(walk, seen.size() == after.size() ? QString() : u"rows and categories differ in number"_s);
        const int row = List()->GetNextSelected(-1);
        const auto* category = reinterpret_cast<const CCategory*>(row >= 0 ? List()->GetItemData(row) : 0);
        if (category && kind == Gesture && (walk.Where().contains(u"click"_s) || category != selected)) {
            WALK_VERIFY(walk, NameEdit()->text() == FromBytes(category->m_strName) &&
                                      FlagCombo()->currentIndex() == category->m_nFlag
                                  ? QString()
                                  : u"the fields do not show the selected row's category"_s);
        }
    }
    QVERIFY2(keys.Coverage().isEmpty(), qPrintable(keys.Coverage()));
}

QTEST_MAIN(TestCategoriesDlg)
#include "tst_CategoriesDlg.moc"
