#include "DialogFields.h"
#include "DialogTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class TestDialogFields : public QObject
{
    Q_OBJECT
private slots:
    void numbersAcceptedAndRefused_data();
    void numbersAcceptedAndRefused();
    void integersAcceptedAndRefused();
    void refusedFieldNamesItselfAndTakesFocus();
    void numbersShowWithoutNoise();
    void flagComboOffersElevenColours();
    void datePickerKeepsTimeOfDay();
};

void TestDialogFields::numbersAcceptedAndRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "50" << true << 50.0;
    QTest::newRow("decimals") << "1234.56" << true << 1234.56;
    QTest::newRow("blanks around") << "  -7.5 " << true << -7.5;
    QTest::newRow("plus sign") << "+3" << true << 3.0;
    QTest::newRow("leading point") << ".25" << true << 0.25;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank only") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("trailing letter") << "12x" << false << 0.0;
    QTest::newRow("comma decimal") << "12,50" << false << 0.0;
    QTest::newRow("two signs") << "+-3" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("not a number") << "nan" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
}

void TestDialogFields::numbersAcceptedAndRefused()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const std::optional<double> parsed = DialogFields::ParseNumber(text);
    QCOMPARE(parsed.has_value(), accepted);
    if (accepted)
        QCOMPARE(*parsed, value);
}

void TestDialogFields::integersAcceptedAndRefused()
{
    QCOMPARE(DialogFields::ParseInteger(QStringLiteral("0")), std::optional<int>(0));
    QCOMPARE(DialogFields::ParseInteger(QStringLiteral(" -30 ")), std::optional<int>(-30));
    QCOMPARE(DialogFields::ParseInteger(QStringLiteral("2147483647")), std::optional<int>(2147483647));
    QVERIFY(!DialogFields::ParseInteger(QStringLiteral("2147483648")));
    QVERIFY(!DialogFields::ParseInteger(QStringLiteral("1.5")));
    QVERIFY(!DialogFields::ParseInteger(QStringLiteral("ten")));
    QVERIFY(!DialogFields::ParseInteger(QString()));
}

void TestDialogFields::refusedFieldNamesItselfAndTakesFocus()
{
    MessageLog messages;
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* edit = new QLineEdit(QStringLiteral("12 dollars"), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();

    double value = 99.0;
    QVERIFY(!DialogFields::ReadNumber(edit, QStringLiteral("Opening Balance"), value));
    QCOMPARE(value, 99.0);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastText(), QStringLiteral("Opening Balance: Invalid Value.\nPlease enter a number."));
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), edit->text());

    int days = 5;
    edit->setText(QStringLiteral("3.5"));
    QVERIFY(!DialogFields::ReadInteger(edit, QStringLiteral("Lookback"), days));
    QCOMPARE(days, 5);
    QCOMPARE(messages.lastText(), QStringLiteral("Lookback: Invalid Value.\nPlease enter a whole number."));

    edit->setText(QStringLiteral("-12"));
    QVERIFY(DialogFields::ReadInteger(edit, QStringLiteral("Lookback"), days));
    QCOMPARE(days, -12);
    QCOMPARE(messages.count(), 2);
}

void TestDialogFields::numbersShowWithoutNoise()
{
    QCOMPARE(DialogFields::FormatNumber(0.0), QStringLiteral("0"));
    QCOMPARE(DialogFields::FormatNumber(50.0), QStringLiteral("50"));
    QCOMPARE(DialogFields::FormatNumber(1234.5), QStringLiteral("1234.5"));
    QCOMPARE(DialogFields::FormatNumber(0.1 + 0.2), QStringLiteral("0.3"));
    QCOMPARE(DialogFields::FormatNumber(-1000000.25), QStringLiteral("-1000000.25"));
    // What the field shows reads back to the same amount.
    QCOMPARE(*DialogFields::ParseNumber(DialogFields::FormatNumber(19.99)), 19.99);
}

void TestDialogFields::flagComboOffersElevenColours()
{
    QComboBox combo;
    DialogFields::FillFlagCombo(&combo);
    QCOMPARE(combo.count(), 11);
    QCOMPARE(combo.itemText(0), QStringLiteral("0"));
    QCOMPARE(combo.itemText(10), QStringLiteral("10"));
    const QImage swatch = combo.itemIcon(7).pixmap(12, 12).toImage();
    QCOMPARE(swatch.pixelColor(6, 6), QColor(0x00, 0xFF, 0xFF));
    QCOMPARE(DialogFields::FlagColor(-1), QColor(Qt::white));
}

void TestDialogFields::datePickerKeepsTimeOfDay()
{
    const CTime now(kTestNow);  // 12:00 local
    QCOMPARE(DialogFields::ToQDate(now), QDate(2024, 6, 15));
    QCOMPARE(DialogFields::FromQDate(QDate(2024, 6, 15), now), now);
    const CTime later = DialogFields::FromQDate(QDate(2024, 12, 1), now);
    QCOMPARE(later.Format("%m/%d/%Y %H:%M"), std::string("12/01/2024 12:00"));
    // The picker's limits stay inside what a CTime holds.
    QVERIFY(DialogFields::FromQDate(DialogFields::MaximumDate(), CTime(2024, 1, 1, 23, 59, 59)).GetTime() <
            INT32_MAX);
    QVERIFY(DialogFields::FromQDate(DialogFields::MinimumDate(), CTime(2024, 1, 1, 0, 0, 0)).GetTime() >
            INT32_MIN);
}

QTEST_MAIN(TestDialogFields)
#include "tst_DialogFields.moc"
