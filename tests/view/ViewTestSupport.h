#pragma once
// Shared by the dashboard tests: a fixed clock, a small checkbook, a view
// whose dialogs answer at once, and pixel helpers.

#include "AppValues.h"
#include "PanelChrome.h"
#include "QuilletDoc.h"
#include "QuilletView.h"
#include "XListCtrl.h"

#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTest>

#include <functional>

// "Now" is noon of 6 December 2026 in the test zone (America/New_York).
struct FixedNow
{
    explicit FixedNow(CTime now = CTime(2026, 12, 6, 12, 0, 0)) : time(now)
    {
        AppValues::ResetToDefaults();
        const int64_t seconds = now.GetTime();
        Clock::Set([seconds] { return seconds; });
    }
    ~FixedNow() { Clock::Set(nullptr); }
    CTime Days(int days) const { return time + int64_t(days) * CTime::kDay; }
    CTime time;
};

// Records the dialogs the view runs instead of showing them; `whileOpen`
// stands in for what the user does in the dialog.
class RecordingView : public CQuilletView
{
public:
    QStringList dialogs;
    std::function<void(QDialog&)> whileOpen;

protected:
    int RunDialog(QDialog& dialog) override
    {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        if (whileOpen)
            whileOpen(dialog);
        return QDialog::Rejected;
    }
};

// Three accounts with balances 100, -25.50 and 0.
inline void AddThreeAccounts(CQuilletDoc& doc)
{
    doc.AddAccount("Checking", "111", 100.0, "", "", "");
    doc.AddAccount("Visa", "222", 0.0, "", "", "");
    doc.AddAccount("Savings", "333", 0.0, "", "", "");
    doc.AddEntry("Visa", CTime(Clock::Now()) - 3 * CTime::kDay, "", "Lunch", "Food", 25.5, 0.0, 0, 0, 0, 0);
}

inline void SavePng(const QImage& image, const QString& name)
{
    if (qEnvironmentVariableIsSet("QUILLET_SAVE_PNG"))
        image.save(QStringLiteral("%1/%2.png").arg(qEnvironmentVariable("QUILLET_SAVE_PNG"), name));
}

inline QImage Shot(CQuilletView& view)
{
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Shows the view; its first paint places and fills the lists.
inline QImage ShowView(CQuilletView& view)
{
    view.resize(700, 620);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view))
        return QImage();
    QCoreApplication::processEvents();
    const QImage image = Shot(view);
    SavePng(image, QString::fromLatin1(QTest::currentTestFunction()));
    return image;
}

inline QColor Pixel(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

inline int CountColor(const QImage& image, const QRect& rect, const QColor& color)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += QColor(image.pixel(x, y)) == color;
    return n;
}

// ---- Ink: what a text leaves on the pixels ----------------------------------

// The pixels of region that are ink, cropped to their bounding box as a
// mask (black ink on white); a null image when there is none. Only whole
// pixels are compared: the dashboard paints without antialiasing.
template <typename IsInk>
QImage InkMask(const QImage& image, const QRect& region, IsInk isInk, QRect* bounds = nullptr)
{
    QRect box;
    const QRect area = region.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isInk(QColor(image.pixel(x, y))))
                box |= QRect(x, y, 1, 1);
    if (bounds)
        *bounds = box;
    if (box.isEmpty())
        return QImage();
    QImage mask(box.size(), QImage::Format_RGB32);
    mask.fill(Qt::white);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (isInk(QColor(image.pixel(x, y))))
                mask.setPixel(x - box.left(), y - box.top(), qRgb(0, 0, 0));
    return mask;
}

// The whole ink of text in font, drawn by plain QPainter on a roomy canvas
// of the given resolution with nothing to clip it: what an uncut text
// looks like when it starts `sixteenths` of a pixel right of a pixel edge.
inline QImage WholeInk(const QString& text, const QFont& font, int sixteenths = 0, int dpi = 96)
{
    QImage canvas(40 + 3 * text.size() * 30, 120, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(qRound(dpi / 0.0254));
    canvas.setDotsPerMeterY(qRound(dpi / 0.0254));
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(20 + sixteenths / 16.0, 60), text);
    painter.end();
    return InkMask(canvas, canvas.rect(), [](const QColor& c) { return c == QColor(Qt::black); });
}

// True when ink is the whole ink of text in font: a text laid out by its
// alignment may start at any fraction of a pixel, and glyphs fall on whole
// pixels from there.
inline bool IsWholeInk(const QImage& ink, const QString& text, const QFont& font)
{
    for (int sixteenths = 0; sixteenths < 16; ++sixteenths)
        if (ink == WholeInk(text, font, sixteenths))
            return true;
    return false;
}

inline bool IsBlack(const QColor& c) { return c == QColor(Qt::black); }
