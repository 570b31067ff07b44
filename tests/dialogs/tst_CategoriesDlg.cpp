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

    void listShowsCategoriesOnFlagColours();
    void insertLandsAtByteOrderAndDeleteTakesThatRow();
    void insertRefusesExistingAndEmptyNames();
    void insertWithoutChoosingKeepsAPaletteFlag();
    void modifyChangesTheSelectedFlag();
    void deleteWithoutSelectionChangesNothing();
    void rowsCannotBeEditedInPlace();

private:
    void Open();
    QStringList Names() const;
    QLineEdit* NameEdit() { return m_dialog->findChild<QLineEdit*>(QStringLiteral("nameEdit")); }
    QComboBox* FlagCombo() { return m_dialog->findChild<QComboBox*>(QStringLiteral("flagCombo")); }
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
}

void TestCategoriesDlg::cleanup()
{
    m_dialog.reset();
    m_messages.reset();
    m_doc.reset();
    Clock::Set({});
}

void TestCategoriesDlg::Open()
{
    m_dialog = std::make_unique<CCategoriesDlg>(m_doc.get());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
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
    QComboBox* combo = FlagCombo();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < flag; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentIndex(), flag);
}

void TestCategoriesDlg::listShowsCategoriesOnFlagColours()
{
    Open();
    CXListCtrl* list = m_dialog->List();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Define Categories"));
    QCOMPARE(list->GetItemCount(), 41);
    QCOMPARE(RowTexts(list, 0), QStringList({" Deposit-Bonus", "6"}));
    QCOMPARE(RowTexts(list, 40), QStringList({"xfer to Savings", "4"}));
    // "Auto Fuel" (flag 3) on pink, both cells.
    QCOMPARE(list->GetItemText(7, 0), QStringLiteral("Auto Fuel"));
    QCOMPARE(list->GetCell(7, 0)->crBackground, QColor(0xFF, 0x80, 0xFF));
    QCOMPARE(list->GetCell(7, 1)->crBackground, QColor(0xFF, 0x80, 0xFF));
    QCOMPARE(list->GetCell(7, 1)->crText, QColor(Qt::black));
    QCOMPARE(FlagCombo()->currentIndex(), 0);
}

void TestCategoriesDlg::insertLandsAtByteOrderAndDeleteTakesThatRow()
{
    Open();
    RetypeText(NameEdit(), QStringLiteral("cable"));  // small letters sort after all capitals
    ChooseFlag(8);
    ClickButton(m_dialog.get(), QStringLiteral("Insert"));
    QStringList names = Names();
    QCOMPARE(names.size(), 42);
    const int row = int(names.indexOf(QStringLiteral("cable")));
    QCOMPARE(names.at(row - 1), QStringLiteral("Water"));
    QCOMPARE(names.at(row + 1), QStringLiteral("xfer to Bills"));
    QCOMPARE(m_dialog->List()->GetItemText(row, 1), QStringLiteral("8"));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("cable"), 8);
    QCOMPARE(m_dialog->List()->GetNextSelected(-1), row);  // the new row is shown

    RetypeText(NameEdit(), QStringLiteral(" Deposit-Gift"));  // a leading space sorts first
    ClickButton(m_dialog.get(), QStringLiteral("Insert"));
    QCOMPARE(Names().at(2), QStringLiteral(" Deposit-Gift"));

    // Deleting a row clicked afterwards removes exactly that category.
    ClickRow(m_dialog->List(), 10);
    const QString clicked = m_dialog->List()->GetItemText(10, 0);
    QCOMPARE(NameEdit()->text(), clicked);
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    QCOMPARE(m_dialog->List()->GetItemCount(), 42);
    QVERIFY(!Names().contains(clicked));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag(ToBytes(clicked)), -1);
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(42));
    for (int i = 0; i < 42; ++i)
        QCOMPARE(Names().at(i), FromBytes(m_doc->m_pCategoryList->m_categories[size_t(i)]->m_strName));
    QVERIFY(!m_doc->IsModified());
}

void TestCategoriesDlg::insertRefusesExistingAndEmptyNames()
{
    Open();
    RetypeText(NameEdit(), QStringLiteral("Cash"));
    ChooseFlag(3);
    ClickButton(m_dialog.get(), QStringLiteral("Insert"));
    QCOMPARE(m_dialog->List()->GetItemCount(), 41);
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("Cash"), 5);
    QCOMPARE(m_messages->count(), 0);

    RetypeText(NameEdit(), QString());
    ClickButton(m_dialog.get(), QStringLiteral("Insert"));
    QCOMPARE(m_messages->lastText(), QStringLiteral("Category: Invalid Value.\nYou must enter a category name."));
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(41));
}

void TestCategoriesDlg::insertWithoutChoosingKeepsAPaletteFlag()
{
    Open();
    RetypeText(NameEdit(), QStringLiteral("Pets"));
    ClickButton(m_dialog.get(), QStringLiteral("Insert"));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("Pets"), 0);
    const int row = int(Names().indexOf(QStringLiteral("Pets")));
    QCOMPARE(m_dialog->List()->GetItemText(row, 1), QStringLiteral("0"));
    QCOMPARE(m_dialog->List()->GetCell(row, 0)->crBackground, QColor(Qt::white));
}

void TestCategoriesDlg::modifyChangesTheSelectedFlag()
{
    Open();
    ClickRow(m_dialog->List(), 12);  // "Cable", flag 1
    QCOMPARE(NameEdit()->text(), QStringLiteral("Cable"));
    QCOMPARE(FlagCombo()->currentIndex(), 1);
    ChooseFlag(10);
    ClickButton(m_dialog.get(), QStringLiteral("Modify"));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag("Cable"), 10);
    QCOMPARE(m_dialog->List()->GetItemText(12, 1), QStringLiteral("10"));
    QCOMPARE(m_dialog->List()->GetCell(12, 0)->crBackground, QColor(0xFF, 0x00, 0x00));
    QCOMPARE(m_dialog->List()->GetNextSelected(-1), 12);
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(41));

    // Walking the list with the keyboard loads the rows as well.
    m_dialog->List()->setFocus();
    QTest::keyClick(m_dialog->List(), Qt::Key_Down);
    QCOMPARE(NameEdit()->text(), QStringLiteral("Cash"));
    QCOMPARE(FlagCombo()->currentIndex(), 5);
}

void TestCategoriesDlg::deleteWithoutSelectionChangesNothing()
{
    Open();
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    ClickButton(m_dialog.get(), QStringLiteral("Modify"));
    QCOMPARE(m_dialog->List()->GetItemCount(), 41);
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(41));
    QCOMPARE(m_doc->m_pCategoryList->GetCategoryFlag(" Deposit-Bonus"), 6);

    // After a delete nothing is selected, so a second press removes nothing.
    ClickRow(m_dialog->List(), 0);
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    ClickButton(m_dialog.get(), QStringLiteral("Delete"));
    QCOMPARE(m_doc->m_pCategoryList->m_categories.size(), size_t(40));
}

void TestCategoriesDlg::rowsCannotBeEditedInPlace()
{
    Open();
    CXListCtrl* list = m_dialog->List();
    QRect cell;
    list->GetSubItemRect(3, 0, CXListCtrl::AreaBounds, cell);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::keyClicks(list, QStringLiteral("Renamed"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(list->GetItemText(3, 0), QStringLiteral(" Deposit-Other"));
    QCOMPARE(m_doc->m_pCategoryList->m_categories[3]->m_strName, std::string(" Deposit-Other"));
}

QTEST_MAIN(TestCategoriesDlg)
#include "tst_CategoriesDlg.moc"
