#include "ListColumns.h"

#include "XListCtrl.h"

#include <QEvent>

namespace
{
class ColumnSizer : public QObject
{
public:
    ColumnSizer(CXListCtrl* list, std::vector<ListColumn> columns)
        : QObject(list), m_list(list), m_columns(std::move(columns))
    {
        list->installEventFilter(this);
        Apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_list && event->type() == QEvent::Resize)
            Apply();
        return false;
    }

private:
    void Apply()
    {
        const int width = m_list->width();
        for (size_t i = 0; i < m_columns.size(); ++i) {
            const ListColumn& column = m_columns[i];
            const int share = width * column.numerator / column.denominator - column.minusPixels;
            m_list->SetColumnWidth(int(i), std::max(share, 8));
        }
    }

    CXListCtrl* m_list;
    std::vector<ListColumn> m_columns;
};
}

void InsertListColumns(CXListCtrl* list, const std::vector<ListColumn>& columns)
{
    for (size_t i = 0; i < columns.size(); ++i)
        list->InsertColumn(int(i), columns[i].heading, columns[i].alignment);
    new ColumnSizer(list, columns);
}
