#include "CategoriesDlg.h"
#include "DialogTestSupport.h"
#include "TextCodec.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class TestCategoriesDlg : public QObject
{
    Q_OBJECT
    std::unique_ptr<CQuilletDoc> m_doc;
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
    void ChooseFlag(int flag)
    {
        FlagCombo()->setFocus();
        QTest::keyClick(FlagCombo(), Qt::Key_Home);
        for (int i = 0; i < flag; ++i)
            QTest::keyClick(FlagCombo(), Qt::Key_Down);
    }
    int RowOf(const QString& name)
    {
        for (int row = 0; row < List()->GetItemCount(); ++row)
            if (List()->GetItemText(row, 0) == name)
                return row;
        return -1;
    }

private slots:
    void init()
    {
        FixClock();
        m_doc = std::make_unique<CQuilletDoc>();
        m_messages = std::make_unique<MessageLog>();
        m_dialog = std::make_unique<CCategoriesDlg>(m_doc.get());
        Show(*m_dialog);
    }
    void cleanup()
    {
        m_dialog.reset();
        m_messages.reset();
        m_doc.reset();
        Clock::Set({});
    }

    void insertLandsAtByteOrderAndDeleteTakesThatRow()
    {
        QCOMPARE(RowText(List(), 0), u" Deposit-Bonus|6"_s);
        QCOMPARE(List()->GetCell(7, 1)->crBackground, QColor(0xFF, 0x80, 0xFF));  // "Auto Fuel", flag 3

        ChooseFlag(8);
        Insert(u"cable"_s);  // small letters sort after every capital
        const int row = RowOf(u"cable"_s);
        QCOMPARE(List()->GetItemText(row - 1, 0), u"Water"_s);
        QCOMPARE(List()->GetItemText(row + 1, 0), u"xfer to Bills"_s);
        QCOMPARE(RowText(List(), row), u"cable|8"_s);
        QCOMPARE(List()->GetCell(row, 0)->crBackground, QColor(0x80, 0x80, 0xFF));
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

    void insertRefusesExistingAndEmptyNamesAndNeverLeavesThePalette()
    {
        ChooseFlag(3);
        Insert(u"Cash"_s);
        QCOMPARE(Categories().GetCategoryFlag("Cash"), 5);
        Insert(QString());
        QCOMPARE(m_messages->texts, QStringList{u"Category: Invalid Value.\nYou must enter a category name."_s});
        QCOMPARE(Categories().m_categories.size(), size_t(41));
        QCOMPARE(List()->GetItemCount(), 41);

        // Without a flag chosen in a fresh dialog a category gets flag 0.
        CCategoriesDlg fresh(m_doc.get());
        fresh.show();
        RetypeText(Find<QLineEdit>(&fresh, "nameEdit"), u"Pets"_s);
        ClickButton(&fresh, u"Insert"_s);
        QCOMPARE(Categories().GetCategoryFlag("Pets"), 0);
    }

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

        // The keyboard loads rows as well.
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Down);
        QCOMPARE(NameEdit()->text(), u"Cash"_s);
        QCOMPARE(FlagCombo()->currentIndex(), 5);

        QRect cell;
        List()->GetSubItemRect(3, 0, CXListCtrl::AreaBounds, cell);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::keyClicks(List(), u"Renamed"_s);
        QCOMPARE(List()->GetItemText(3, 0), u" Deposit-Other"_s);
        QCOMPARE(Categories().m_categories[3]->m_strName, std::string(" Deposit-Other"));
    }
};

QTEST_MAIN(TestCategoriesDlg)
#include "tst_CategoriesDlg.moc"
