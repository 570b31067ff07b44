// Renders a populated grid list with a sorted header into a PNG to look at:
// xlist_demo [output.png]

#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QApplication>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("xlist_demo.png");

    QWidget window;
    window.resize(560, 200);
    auto* layout = new QVBoxLayout(&window);

    auto* list = new CXListCtrl(&window);
    list->SetFullRowSelect(true);
    list->SetGridLines(true);
    list->SetShowSelectionAlways(true);
    list->InsertColumn(0, QStringLiteral("Date"), Qt::AlignLeft, 70);
    list->InsertColumn(1, QStringLiteral("Check #"), Qt::AlignHCenter, 60);
    list->InsertColumn(2, QStringLiteral("Description"), Qt::AlignLeft, 150);
    list->InsertColumn(3, QStringLiteral("C"), Qt::AlignHCenter, 24);
    list->InsertColumn(4, QStringLiteral("Amount"), Qt::AlignRight, 70);
    list->InsertColumn(5, QStringLiteral("A very long balance heading"), Qt::AlignRight, 80);

    list->InsertItem(0, QString());
    list->SetItemText(0, 2, QStringLiteral(" Opening Balance"));
    list->SetItemText(0, 5, QStringLiteral("500.00 "));
    for (int c = 0; c < list->GetColumns(); ++c)
        list->SetPinKey(0, c, -1);
    const QStringList rows = {"01/03/05|101|Groceries|42.10 ", "01/05/05||Salary|1200.00 ", "01/09/05|102|Rent|650.00 ",
                              "01/12/05||Coffee|3.50 "};
    const QColor flags[] = {QColor(255, 255, 255), QColor(192, 255, 192), QColor(255, 255, 128), QColor(255, 192, 192)};
    for (int row = 1; row <= rows.size(); ++row)
    {
        const QStringList f = rows[row - 1].split(QLatin1Char('|'));
        const QColor flag = flags[row - 1];
        list->InsertItem(row, f[0]);
        list->SetItemText(row, 1, f[1], Qt::black, flag);
        list->SetItemText(row, 2, f[2], Qt::black, flag);
        list->SetItemText(row, 3, QString(), Qt::black, flag);
        list->SetCheckState(row, 3, row % 2);
        list->SetItemText(row, 4, f[3], Qt::black, flag);
        list->SetItemText(row, 5, QStringLiteral("%1 ").arg(row * 100), Qt::black, flag);
    }
    const int total = list->InsertItem(list->GetItemCount(), QStringLiteral("Total"));
    list->SetItemText(total, 2, QStringLiteral("Checked with text"));
    list->SetCheckState(total, 2, 1);
    list->SetBold(total, 4, true);
    list->SetItemText(total, 4, QStringLiteral("Bold"));
    list->SetEnabled(total, false);
    list->SortColumn(4, 1);
    list->SetItemState(2, CXListCtrl::StateSelected, CXListCtrl::StateSelected);
    layout->addWidget(list);

    window.show();
    app.processEvents();
    return window.grab().save(path) ? 0 : 1;
}
