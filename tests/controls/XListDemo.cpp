// Renders a populated grid list, a sorted header and an empty list into one
// PNG, to look at: xlist_demo [output.png]

#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("xlist_demo.png");

    QWidget window;
    window.resize(560, 500);
    auto* layout = new QVBoxLayout(&window);

    auto* list = new CXListCtrl(&window);
    list->SetFullRowSelect(true);
    list->SetGridLines(true);
    list->SetShowSelectionAlways(true);
    const struct
    {
        const char* heading;
        Qt::Alignment align;
        int width;
    } columns[] = {{"Date", Qt::AlignLeft, 70},   {"Check #", Qt::AlignHCenter, 60}, {"Description", Qt::AlignLeft, 150},
                   {"C", Qt::AlignHCenter, 24},   {"Amount", Qt::AlignRight, 70},   {"A very long balance heading", Qt::AlignRight, 80}};
    for (const auto& c : columns)
        list->InsertColumn(list->GetColumns(), QString::fromLatin1(c.heading), c.align, c.width);

    list->InsertItem(0, QString());
    list->SetItemText(0, 2, QStringLiteral(" Opening Balance"));
    list->SetItemText(0, 5, QStringLiteral("500.00 "));
    for (int c = 0; c < list->GetColumns(); ++c)
        list->SetPinKey(0, c, -1);
    const struct
    {
        const char* date;
        const char* number;
        const char* text;
        const char* amount;
        QColor flag;
        bool cleared;
    } rows[] = {{"01/03/05", "101", "Groceries", "42.10 ", QColor(255, 255, 255), true},
                {"01/05/05", "", "Salary", "1200.00 ", QColor(192, 255, 192), false},
                {"01/09/05", "102", "Rent", "650.00 ", QColor(255, 255, 128), true},
                {"01/12/05", "", "Coffee", "3.50 ", QColor(255, 192, 192), false}};
    int row = 1;
    for (const auto& r : rows)
    {
        list->InsertItem(row, QString::fromLatin1(r.date));
        list->SetItemText(row, 1, QString::fromLatin1(r.number), Qt::black, r.flag);
        list->SetItemText(row, 2, QString::fromLatin1(r.text), Qt::black, r.flag);
        list->SetItemText(row, 3, QString(), Qt::black, r.flag);
        list->SetCheckState(row, 3, r.cleared ? 1 : 0);
        list->SetItemText(row, 4, QString::fromLatin1(r.amount), Qt::black, r.flag);
        list->SetItemText(row, 5, QStringLiteral("%1 ").arg(row * 100), Qt::black, r.flag);
        ++row;
    }
    list->InsertItem(row, QStringLiteral("Total"));
    list->SetItemText(row, 2, QStringLiteral("Checked with text"));
    list->SetCheckState(row, 2, 1);
    list->SetBold(row, 4, true);
    list->SetItemText(row, 4, QStringLiteral("Bold"));
    list->SetEnabled(row, false);
    list->SortColumn(4, 1);
    list->SetItemState(2, CXListCtrl::StateSelected, CXListCtrl::StateSelected);
    layout->addWidget(list);

    auto* empty = new CXListCtrl(&window);
    empty->InsertColumn(0, QStringLiteral("Account"), Qt::AlignLeft, 200);
    empty->InsertColumn(1, QStringLiteral("Balance"), Qt::AlignRight, 120);
    layout->addWidget(empty);

    // Like the dashboard's account panel: no header, 14-pixel rows, a
    // greyed total row.
    auto* accounts = new CXListCtrl(&window);
    accounts->SetHeaderVisible(false);
    accounts->SetRowHeight(14);
    accounts->SetGridLines(true);
    accounts->SetFullRowSelect(true);
    accounts->InsertColumn(0, QStringLiteral("Account"), Qt::AlignLeft, 164);
    accounts->InsertColumn(1, QStringLiteral("Balance"), Qt::AlignRight, 164);
    const QColor panel(150, 250, 185);
    const char* names[] = {"Checking", "Savings", "Visa"};
    const char* balances[] = {"100.00  ", "-25.50  ", "0.00  "};
    for (int i = 0; i < 3; ++i)
    {
        accounts->InsertItem(i, QStringLiteral("  ") + QString::fromLatin1(names[i]));
        accounts->SetItemText(i, 1, QString::fromLatin1(balances[i]));
    }
    accounts->InsertItem(3, QString());
    accounts->SetItemText(3, 0, QString(), QColor(60, 60, 200), panel);
    accounts->SetBold(3, 0, true);
    accounts->SetItemText(3, 1, QStringLiteral("Total: $74.50  "), QColor(130, 130, 130), panel);
    accounts->SetEnabled(3, false);
    accounts->setFrameShape(QFrame::NoFrame);  // the columns fill the whole width
    accounts->setFixedSize(328, 14 * 4 + 2);
    layout->addWidget(accounts);

    window.show();
    app.processEvents();
    return window.grab().save(path) ? 0 : 1;
}
