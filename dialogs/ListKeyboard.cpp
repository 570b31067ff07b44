#include "ListKeyboard.h"

#include "XListCtrl.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>

namespace
{
class RowWalker : public QObject
{
public:
    RowWalker(CXListCtrl* list, std::function<void(int)> load) : QObject(list), m_load(std::move(load))
    {
        list->installEventFilter(this);
        connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& current) {
                    if (m_bWalking && current.isValid())
                        m_load(current.row());
                });
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                m_bWalking = true;
                break;
            default:
                m_bWalking = false;
            }
        } else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusOut) {
            m_bWalking = false;
        }
        return false;
    }

private:
    std::function<void(int)> m_load;
    bool m_bWalking = false;
};
}

void OnRowWalkedTo(CXListCtrl* list, std::function<void(int row)> load)
{
    new RowWalker(list, std::move(load));
}
