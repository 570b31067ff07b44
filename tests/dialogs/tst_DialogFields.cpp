#include "DateField.h"
#include "DialogFields.h"
#include "DialogTestSupport.h"

#include <QLineEdit>
#include <QtTest>

#include <clocale>
#include <optional>

// The fields read what is typed the same way whatever the user's locale:
// every table runs under C and under a comma-decimal locale.
class TestDialogFields : public QObject
{
    Q_OBJECT

    // Each table runs once per locale, the locale named by the data row.
    static void locales_data()
    {
        QTest::addColumn<int>("unused");
        QTest::newRow("C") << 0;
        QTest::newRow("de_DE.UTF-8") << 0;
    }

private slots:
    void init()
    {
        FixClock();
        // Qt's side always switches; the C library's only where the machine
        // has the locale.
        const char* locale = QTest::currentDataTag() ? QTest::currentDataTag() : "C";
        std::setlocale(LC_ALL, locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale).section(u'.', 0, 0)));
    }
    void cleanup()
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }

    void moneyFields_data() { locales_data(); }
    void moneyFields()
    {
        MessageLog messages;
        QWidget window;
        auto* edit = new QLineEdit(&window);
        const QString refused = u"Amount: Invalid Value.\nPlease enter a number."_s;
        const struct
        {
            const char* typed;
            std::optional<double> stored;
        } cases[] = {
            {"1,500.00", 1500.0}, {"1,234.56", 1234.56}, {"-5", -5.0},     {" 12.345 ", 12.35}, {"0", 0.0},
            {"0.00", 0.0},        {"+7.1", 7.1},         {"12,50", {}},    {"1e300", {}},       {"", {}},
            {"1000000000000.01", {}}, {"12.50 EUR", {}}, {"1.234,56", {}},
        };
        for (const auto& c : cases) {
            edit->setText(QString::fromLatin1(c.typed));
            double value = -1.0;
            const int shown = messages.count();
            const bool read = DialogFields::ReadMoney(edit, u"Amount"_s, value);
            QCOMPARE(read, c.stored.has_value());
            if (c.stored) {
                QCOMPARE(value, *c.stored);
                QCOMPARE(messages.count(), shown);
            } else {
                QCOMPARE(value, -1.0);  // untouched
                QCOMPARE(messages.lastText(), refused);
                QCOMPARE(edit->selectedText(), edit->text());
            }
        }
        QVERIFY(messages.allPlain());
        // Whole numbers keep their own rules.
        QCOMPARE(DialogFields::ParseInteger(u" -7 "_s), -7);
        QVERIFY(!DialogFields::ParseInteger(u"-7.5"_s));
        QVERIFY(!DialogFields::ParseInteger(u"2147483648"_s));
    }

    void dateTexts_data() { locales_data(); }
    void dateTexts()
    {
        const struct
        {
            const char* typed;
            QDate date;
        } cases[] = {
            {"11/20/2026", QDate(2026, 11, 20)}, {"11/20/26", QDate(2026, 11, 20)}, {"1/5/2026", QDate(2026, 1, 5)},
            {" 02/29/2024 ", QDate(2024, 2, 29)}, {"12/31/99", QDate(1999, 12, 31)}, {"01/01/38", QDate(2038, 1, 1)},
            {"01/17/2038", QDate(2038, 1, 17)},   {"02/29/2023", {}},                 {"13/01/2026", {}},
            {"00/10/2026", {}},                   {"11/31/2026", {}},                 {"11/20", {}},
            {"11/20/202", {}},                    {"20.11.2026", {}},                 {"2026-11-20", {}},
            {"01/18/2038", {}},                   {"01/01/1900", {}},                 {"01/01/68", {}},
            {"", {}},
        };
        for (const auto& c : cases)
            QVERIFY2(CDateField::Parse(QString::fromLatin1(c.typed)) == c.date, c.typed);
    }

    void dateFieldSavesWhatItShows_data() { locales_data(); }
    void dateFieldSavesWhatItShows()
    {
        MessageLog messages;
        QWidget window;
        auto* field = new CDateField(&window);
        auto* next = new QLineEdit(&window);
        next->move(0, 40);
        Show(window);
        field->setDate(QDate(2020, 11, 6));
        QCOMPARE(field->text(), u"11/06/2020"_s);

        // Typed whole over the old text, wherever the cursor stood.
        for (int cursor : {0, 3, 10}) {
            field->setFocus();
            field->setCursorPosition(cursor);
            field->selectAll();
            QTest::keyClicks(field, u"11/21/2026"_s);
            QCOMPARE(field->date(), QDate(2026, 11, 21));
        }
        // A short year is shown the long way once the user moves on.
        RetypeText(field, u"11/20/26"_s);
        next->setFocus();
        QCOMPARE(field->text(), u"11/20/2026"_s);

        // Letters never get in; the arrows and + and - step a day.
        field->setFocus();
        QTest::keyClicks(field, u"x"_s);
        QCOMPARE(field->text(), u"11/20/2026"_s);
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(field->date(), QDate(2026, 11, 21));
        QTest::keyClick(field, Qt::Key_Plus);
        QTest::keyClick(field, Qt::Key_Plus);
        QCOMPARE(field->text(), u"11/23/2026"_s);
        for (int i = 0; i < 24; ++i)
            QTest::keyClick(field, i % 2 ? Qt::Key_Down : Qt::Key_Minus);
        QCOMPARE(field->date(), QDate(2026, 10, 30));

        // An impossible date is refused with a message, never changed into another.
        RetypeText(field, u"02/30/2026"_s);
        QDate read(2000, 1, 1);
        QVERIFY(!field->ReadDate(u"Date"_s, read));
        QCOMPARE(read, QDate(2000, 1, 1));
        QCOMPARE(messages.lastText(),
                 u"Date: Invalid Value.\nPlease enter a date as MM/DD/YYYY, from 12/15/1901 to 01/17/2038."_s);
        QVERIFY(field->hasFocus());
        QVERIFY(messages.allPlain());
        QTest::keyClick(field, Qt::Key_Up);  // nothing to step from
        QCOMPARE(field->text(), u"02/30/2026"_s);
        RetypeText(field, u"2/3/2026"_s);
        QVERIFY(field->ReadDate(u"Date"_s, read));
        QCOMPARE(read, QDate(2026, 2, 3));
    }

    void datePickerKeepsTimeOfDay()
    {
        const CTime now(kTestNow);  // 12:00 local
        QCOMPARE(DialogFields::FromQDate(DialogFields::ToQDate(now), now), now);
        const CTime later = DialogFields::FromQDate(QDate(2024, 12, 1), now);
        QCOMPARE(later.Format("%m/%d/%Y %H:%M"), std::string("12/01/2024 12:00"));
        // The field's limits stay inside what a CTime holds, at any hour.
        QVERIFY(DialogFields::FromQDate(DialogFields::MaximumDate(), CTime(2024, 1, 1, 23, 59, 59)).GetTime() < INT32_MAX);
        QVERIFY(DialogFields::FromQDate(DialogFields::MinimumDate(), CTime(2024, 1, 1, 0, 0, 0)).GetTime() > INT32_MIN);
    }
};

QTEST_MAIN(TestDialogFields)
#include "tst_DialogFields.moc"
