#include "CategoriesDlg.h"
#include "DialogTestSupport.h"
#include "QuilletDoc.h"
#include "TextCodec.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class TestCategoriesDlg : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void insertLandsAtByteOrderAndDeleteTakesThatRow();
    void insertRefusesExistingAndEmptyNamesAndNeverLeavesThePalette();
    void modifyChangesTheSelectedFlag();
    void deleteNeedsASelectedRowAndInPlaceEditsChangeNothing();

private:
    QStringList Names() const;
    QLineEdit* NameEdit() { return m_dialog->findChild<QLineEdit*>(QStringLiteral("nameEdit")); }
    QComboBox* FlagCombo() { return m_dialog->findChild<QComboBox*>(QStringLiteral("flagCombo")); }
    void Insert(const QString& name)
    {
        RetypeText(NameEdit(), name);
        ClickButton(m_dialog.get(), QStringLiteral("Insert"));
    }
    void ChooseFlag(int flag);

    std::unique_ptr<CQuilletDoc> m_doc;
    std::unique_ptr<CCategoriesDlg> m_dialog;
    std::unique_ptr<MessageLog> m_messages;
};

void TestCategoriesDlg::init()
{
    FixClock();
    m_doc = std::make_unique<CQuilletDoc>();
    m_messages = std::make_unique<MessageLog>();
    m_dialog = std::make_unique<CCategoriesDlg>(m_doc.get());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
}

void TestCategoriesDlg::cleanup()
{
    m_dialog.reset();
    m_messages.reset();
    m_doc.reset();
    Clock::Set({});
}

QStringList TestCategoriesDlg::Names() const
{
    QStringList names;
    for (int row = 0; row < m_dialog->List()->GetItemCount(); ++row)
        names << m_dialog->List()->GetItemText(row, 0);
    return names;
}

void TestCategoriesDlg::ChooseFlag(int flag)
{
    FlagCombo()->setFocus();
    QTest::keyClick(FlagCombo(), Qt::Key_Home);
    for (int i = 0; i < flag; ++i)
        QTest::keyClick(FlagCombo(), Qt::Key_Down);
}

void TestCategoriesDlg::insertLandsAtByteOrderAndDeleteTakesThatRow()
{
    CXListCtrl* list = m_dialog->List();
    QCOMPARE(RowTexts(list, 0), QStringList({" Deposit-Bonus", "6"}));
    QCOMPARE(list->GetCell(7, 1)->crBackground, QColor(0xFF, 0x80, 0xFF));  // "Auto Fuel", flag 3

    ChooseFlag(8);
    Insert(QStringLiteral("cable"));  // small letters sort after every capital
    int row = int(Names().indexOf(QStringLiteral("cable")));
    QCOMPARE(Names().mid(row - 1, 3), QStringList({"Water", "cable", "xfer to Bills"}));
    QCOMPARE(RowTexts(list, row), QStringList({"cable", "8"}));
    QCOMPARE(list->GetCell(row, 0)->crBackground, QColor(0x80, 0x80, 0xFF));
    QCOMPARE(list->GetNextSelected(-1), row);  // the new row is shown
    Insert(QStringLiteral(" Deposit-Gift"));  // a leading space sorts first
    QCOMPARE(Names().at(2), QStringLiteral(" Deposit-Gift"));

    ClickRow(list, 10);
    const QString clicked = list->GetItemText(10, 0);
    QCOMPARE(NameEdit()->text(), clicked);
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    QVERIFY(!Names().contains(clicked));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag(ToBytes(clicked)), -1);
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(42));
    for (row = 0; row < 42; ++row)
        QCOMPARE(Names().at(row), FromBytes(m_doc->m_pCategoryList->m_categories[size_t(row)]->m_strName));
    QVERIFY(m_doc->IsModified());
}

void TestCategoriesDlg::insertRefusesExistingAndEmptyNamesAndNeverLeavesThePalette()
{
    ChooseFlag(3);
    Insert(QStringLiteral("Cash"));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("Cash"), 5);
    QCOMPARE(m_dialog->List()->GetItemCount(), 41);
    Insert(QString());
    QCOMPARE(m_messages->lastText(), QStringLiteral("Category: Invalid Value.\nYou must enter a category name."));
    QCOMPARE(m_messages->count(), 1);
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(41));

    // Without a flag chosen in a fresh dialog a category gets flag 0.
    CCategoriesDlg fresh(m_doc.get());
    fresh.show();
    RetypeText(fresh.findChild<QLineEdit*>(QStringLiteral("nameEdit")), QStringLiteral("Pets"));
    ClickButton(&fresh, QStringLiteral("Insert"));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("Pets"), 0);
}

void TestCategoriesDlg::modifyChangesTheSelectedFlag()
{
    CXListCtrl* list = m_dialog->List();
    ClickRow(list, 12);
    QCOMPARE(NameEdit()->text(), QStringLiteral("Cable"));
    QCOMPARE(FlagCombo()->currentIndex(), 1);
    ChooseFlag(10);
    ClickButton(m_dialog.get(), QStringLiteral("Modify"));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("Cable"), 10);
    QCOMPARE(RowTexts(list, 12), QStringList({"Cable", "10"}));
    QCOMPARE(list->GetCell(12, 0)->crBackground, QColor(0xFF, 0x00, 0x00));
    QCOMPARE(list->GetNextSelected(-1), 12);

    // Walking the list with the keyboard loads the rows as well.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(NameEdit()->text(), QStringLiteral("Cash"));
    QCOMPARE(FlagCombo()->currentIndex(), 5);
}

void TestCategoriesDlg::deleteNeedsASelectedRowAndInPlaceEditsChangeNothing()
{
    CXListCtrl* list = m_dialog->List();
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    ClickButton(m_dialog.get(), QStringLiteral("Modify"));
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(41));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag(" Deposit-Bonus"), 6);

    QRect cell;
    list->GetSubItemRect(3, 0, CXListCtrl::AreaBounds, cell);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::keyClicks(list, QStringLiteral("Renamed"));
    QCOMPARE(list->GetItemText(3, 0), QStringLiteral(" Deposit-Other"));
    QCOMPARE(m_doc->m_pCategoryList->m_categories[3]->m_strName, std::string(" Deposit-Other"));

    // After a delete nothing is selected, so a second press removes nothing.
    ClickRow(list, 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(40));
}

QTEST_MAIN(TestCategoriesDlg)
#include "tst_CategoriesDlg.moc"
