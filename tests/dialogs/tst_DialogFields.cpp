#include "DialogFields.h"
#include "DialogTestSupport.h"

#include <QtTest>

#include <cmath>

class TestDialogFields : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void datePickerKeepsTimeOfDay();
};

void TestDialogFields::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");
    QTest::newRow("blanks and sign") << "  -7.5 " << true << -7.5;
    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("leading point") << ".25" << true << 0.25;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("trailing letter") << "12x" << false << 0.0;
    QTest::newRow("comma decimal") << "12,50" << false << 0.0;
    QTest::newRow("two signs") << "+-3" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
    QTest::newRow("whole number past int") << "2147483648" << true << 2147483648.0;
}

void TestDialogFields::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);
    const std::optional<double> parsed = DialogFields::ParseNumber(text);
    QCOMPARE(parsed.has_value(), accepted);
    // Whole numbers follow the same rules, within the range of an int.
    QCOMPARE(DialogFields::ParseInteger(text).has_value(),
             accepted && value == std::floor(value) && std::abs(value) < 2147483648.0);
    if (accepted) {
        QCOMPARE(*parsed, value);
        // What a field shows reads back to the same amount.
        QCOMPARE(DialogFields::ParseNumber(DialogFields::FormatNumber(value)), parsed);
    }
}

void TestDialogFields::datePickerKeepsTimeOfDay()
{
    const CTime now(kTestNow);  // 12:00 local
    QCOMPARE(DialogFields::FromQDate(DialogFields::ToQDate(now), now), now);
    const CTime later = DialogFields::FromQDate(QDate(2024, 12, 1), now);
    QCOMPARE(later.Format("%m/%d/%Y %H:%M"), std::string("12/01/2024 12:00"));
    // The picker's limits stay inside what a CTime holds, at any hour.
    QVERIFY(DialogFields::FromQDate(DialogFields::MaximumDate(), CTime(2024, 1, 1, 23, 59, 59)).GetTime() < INT32_MAX);
    QVERIFY(DialogFields::FromQDate(DialogFields::MinimumDate(), CTime(2024, 1, 1, 0, 0, 0)).GetTime() > INT32_MIN);
}

QTEST_MAIN(TestDialogFields)
#include "tst_DialogFields.moc"
