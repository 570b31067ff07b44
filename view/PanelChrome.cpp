#include "PanelChrome.h"

#include <QFontMetrics>
#include <QPainter>

QFont MakeViewFont(ViewFont role)
{
    int height = 16;
    QFont::Weight weight = QFont::DemiBold;
    bool underline = false;
    switch (role) {
    case ViewFont::TitleLarge:
        height = 18;
        break;
    case ViewFont::Title:
        break;
    case ViewFont::Button:
        underline = true;
        break;
    case ViewFont::Axis:
        height = 12;
        weight = QFont::Normal;
        break;
    case ViewFont::Slice:
        height = 10;
        weight = QFont::Normal;
        break;
    case ViewFont::ListRow:
        height = 13;
        weight = QFont::Normal;
        break;
    }
    QFont font;
    // The panels were laid out for the common proportional sans face of
    // the desktop (Arial metrics); wider faces clip the button labels.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("Helvetica")});
    font.setWeight(weight);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::NoAntialias);
    // The heights are character cell heights (ascent plus descent). Faces
    // report their cells differently, so take the em from the proportions
    // of the face the layout was made with (cell = 1.117 em).
    font.setPixelSize(int(height / 1.117 + 0.5));
    // List rows are a fixed 14 high: there the whole line, underline
    // included, must fit whatever the face says about its cell.
    if (role == ViewFont::ListRow)
        while (font.pixelSize() > 6 && QFontMetrics(font).height() > 14)
            font.setPixelSize(font.pixelSize() - 1);
    return font;
}

void FrameEdgeRect(QPainter& painter, const QRect& r, const QColor& color)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

void DrawTitleBand(QPainter& painter, const QRect& band)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(PanelColor::Green(), 2));
    painter.setBrush(PanelColor::BandFill());
    painter.drawRoundedRect(QRectF(band.left(), band.top(), band.width() - 1, band.height() - 1), 6, 6);
    painter.restore();
}

void DrawLineText(QPainter& painter, const QRect& rect, const QString& text, Qt::Alignment horizontal,
                  const QColor& color, const QColor& background)
{
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    int left = rect.left();
    if (horizontal & Qt::AlignRight)
        left = rect.left() + rect.width() - width;
    else if (horizontal & Qt::AlignHCenter)
        left = rect.left() + (rect.width() - width) / 2;
    const int top = rect.top() + (rect.height() - height) / 2;
    if (background.isValid())
        painter.fillRect(QRect(left, top, width, height), background);
    painter.setPen(color);
    painter.drawText(QPoint(left, top + metrics.ascent()), text);
    painter.restore();
}

void DrawButtonLabel(QPainter& painter, const QRect& rect, const QString& label, const QColor& color,
                     const QColor& background)
{
    painter.save();
    painter.setFont(MakeViewFont(ViewFont::Button));
    DrawLineText(painter, rect, label, Qt::AlignLeft, color, background);
    painter.restore();
}
