#pragma once
// A shown grid list for the control's tests, with fixed colours and a font
// without anti-aliasing so that painted pixels can be compared exactly.

#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QtTest>

inline const QColor kWindow(255, 255, 255);
inline const QColor kText(0, 0, 0);
inline const QColor kFace(212, 208, 200);
inline const QColor kLight(250, 250, 250);
inline const QColor kDark(128, 128, 128);
inline const QColor kDarkShadow(64, 64, 64);
inline const QColor kMidlight(227, 227, 227);
inline const QColor kGrey(114, 114, 114);  // window text 55 % over the window colour
inline const QColor kHighlight(10, 36, 106);
inline const QColor kHighlightText(255, 255, 254);

inline void Prepare(QWidget* widget)
{
    const std::pair<QPalette::ColorRole, QColor> roles[] = {
        {QPalette::Base, kWindow},      {QPalette::Text, kText},         {QPalette::Button, kFace},
        {QPalette::Light, kLight},      {QPalette::Dark, kDark},         {QPalette::Shadow, kDarkShadow},
        {QPalette::Midlight, kMidlight}, {QPalette::Highlight, kHighlight}, {QPalette::HighlightedText, kHighlightText}};
    QPalette pal = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
        for (const auto& [role, colour] : roles)
            pal.setColor(group, role, colour);
    widget->setPalette(pal);
    QFont font = widget->font();
    font.setStyleStrategy(QFont::NoAntialias);
    widget->setFont(font);
}

// Bounding box of the pixels inside area that have colour (or, with match
// false, that differ from it); count receives their number.
inline QRect Find(const QImage& image, const QColor& colour, const QRect& area, bool match = true, int* count = nullptr)
{
    QRect found;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixelColor(x, y) == colour) == match)
            {
                found = found.united(QRect(x, y, 1, 1));
                ++n;
            }
    if (count)
        *count = n;
    return found;
}

// Columns of the given widths, 16-pixel rows with the given column-0 texts.
struct ListFixture
{
    QWidget window;
    CXListCtrl* list;

    explicit ListFixture(const QList<int>& widths, const QStringList& rows = {})
    {
        window.resize(420, 240);
        list = new CXListCtrl(&window);
        list->setGeometry(0, 0, 420, 240);
        Prepare(list);
        Prepare(list->GetHeaderCtrl());
        for (int c = 0; c < widths.size(); ++c)
            list->InsertColumn(c, QStringLiteral("Col %1").arg(c), Qt::AlignLeft, widths[c]);
        list->SetRowHeight(16);
        list->SetFullRowSelect(true);
        for (const QString& text : rows)
            list->InsertItem(list->GetItemCount(), text);
        window.show();
        QVERIFY2(QTest::qWaitForWindowExposed(&window), "window not exposed");
    }

    // The viewport as it is painted now.
    QImage Viewport() const { return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QRect Cell(int row, int column) const
    {
        QRect rect;
        list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, rect);
        return rect;
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts << list->GetItemText(row, column);
        return texts;
    }

    void Press(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, Cell(row, column).center());
    }

    void ClickHeading(int column)
    {
        CXHeaderCtrl* header = list->GetHeaderCtrl();
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, header->height() / 2));
    }
};
