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
