#include "QuilletView.h"

#include "QuilletDoc.h"

#include <QPainter>

CQuilletView::CQuilletView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
}

void CQuilletView::SetDocument(CQuilletDoc* doc)
{
    m_pDoc = doc;
    OnDocumentChanged();
}

void CQuilletView::OnDocumentChanged()
{
    update();
}

void CQuilletView::EditRegister(const std::string&) {}
void CQuilletView::EditAccounts() {}
void CQuilletView::EditRecurring() {}
void CQuilletView::EditCategoryViewSettings() {}
void CQuilletView::EditDayChartSettings() {}

void CQuilletView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
}
