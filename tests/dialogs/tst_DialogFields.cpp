#include "DialogFields.h"
#include "DialogTestSupport.h"

#include <QtTest>

class TestDialogFields : public QObject
{
    Q_OBJECT
private slots:
    void numbers()
    {
        using DialogFields::ParseInteger;
        using DialogFields::ParseNumber;
        const std::pair<const char*, double> accepted[] = {{"  -7.5 ", -7.5}, {"+3", 3.0}, {".25", 0.25}};
        for (const auto& [text, value] : accepted) {
            QCOMPARE(ParseNumber(QString::fromLatin1(text)), value);
            // What a field shows reads back to the same amount.
            QCOMPARE(ParseNumber(DialogFields::FormatNumber(value)), value);
        }
        for (const char* text : {"", "12x", "12,50", "+-3", "inf", "1e999"})
            QVERIFY2(!ParseNumber(QString::fromLatin1(text)), text);
        // Whole numbers follow the same rules, within the range of an int.
        QCOMPARE(ParseInteger(u" -7 "_s), -7);
        QVERIFY(!ParseInteger(u"-7.5"_s));
        QCOMPARE(ParseNumber(u"2147483648"_s), 2147483648.0);
        QVERIFY(!ParseInteger(u"2147483648"_s));
    }

    void datePickerKeepsTimeOfDay()
    {
        const CTime now(kTestNow);  // 12:00 local
        QCOMPARE(DialogFields::FromQDate(DialogFields::ToQDate(now), now), now);
        const CTime later = DialogFields::FromQDate(QDate(2024, 12, 1), now);
        QCOMPARE(later.Format("%m/%d/%Y %H:%M"), std::string("12/01/2024 12:00"));
        // The picker's limits stay inside what a CTime holds, at any hour.
        QVERIFY(DialogFields::FromQDate(DialogFields::MaximumDate(), CTime(2024, 1, 1, 23, 59, 59)).GetTime() < INT32_MAX);
        QVERIFY(DialogFields::FromQDate(DialogFields::MinimumDate(), CTime(2024, 1, 1, 0, 0, 0)).GetTime() > INT32_MIN);
    }
};

QTEST_MAIN(TestDialogFields)
#include "tst_DialogFields.moc"
