#include "ViewFonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPaintDevice>

#include <cmath>

namespace
{
// The fitted text's width is compared on this text against the named
// face's, measured once: its advance in ems, regular and semibold (which
// the face draws bold).
const char* const kWidthSample = "Account Information 0123456789";
constexpr double kSampleEmsRegular = 14.7326;
constexpr double kSampleEmsBold = 15.6164;
// The named face's cell is 1.1172 em, so a cell of h units is h / 1.1172
// units to the em.
constexpr double kFaceCellEms = 1.1172;

struct Role
{
    int height;
    QFont::Weight weight;
    bool underline;
};

Role RoleOf(ViewFont role)
{
    switch (role) {
    case ViewFont::TitleLarge:
        return {18, QFont::DemiBold, false};
    case ViewFont::Title:
        return {16, QFont::DemiBold, false};
    case ViewFont::Button:
        return {16, QFont::DemiBold, true};
    case ViewFont::Axis:
        return {12, QFont::Normal, false};
    case ViewFont::Slice:
        return {10, QFont::Normal, false};
    case ViewFont::ListRow:
        return {13, QFont::Normal, false};
    case ViewFont::Header:
        return {16, QFont::Normal, false};
    }
    return {16, QFont::Normal, false};
}

// What fitting found for one role on one resolution.
struct Fitted
{
    int pixels = 0;
    int stretch = 100;
};

QFont Sized(QFont font, int pixels, int dpi)
{
    font.setPointSizeF(pixels * 72.0 / dpi);
    return font;
}

int CellHeight(const QFont& font, const QPaintDevice& device)
{
    return QFontMetrics(font, &device).height();
}

Fitted Fit(const QFont& base, int height, const QPaintDevice& device)
{
    const int dpi = device.logicalDpiY();
    // Fonts come in whole pixels, and faces round ascent and descent
    // apart, so a cell is not always to be had exactly: then the largest
    // that stays inside it (the next size up would overflow the box).
    const double ratio = QFontMetricsF(Sized(base, 100, dpi), &device).height() / 100.0;
    Fitted fitted;
    fitted.pixels = int(std::lround(height / (ratio > 0.0 ? ratio : kFaceCellEms))) + 2;
    while (fitted.pixels > 1 && CellHeight(Sized(base, fitted.pixels, dpi), device) > height)
        --fitted.pixels;

    // Another face: the widths of the named one, for the layout's boxes.
    const QFont sized = Sized(base, fitted.pixels, dpi);
    const QString family = QFontInfo(sized).family();
    if (family.compare(QLatin1String(kDashboardFace), Qt::CaseInsensitive) == 0 ||
        family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return fitted;
    const double ems = base.weight() > QFont::Medium ? kSampleEmsBold : kSampleEmsRegular;
    const double wanted = ems * height / kFaceCellEms;
    QFont stretched = sized;
    for (int round = 0; round < 3; ++round) {
        const double width = QFontMetricsF(stretched, &device).horizontalAdvance(QLatin1String(kWidthSample));
        if (width <= 0.0)
            break;
        fitted.stretch = std::clamp(int(std::lround(fitted.stretch * wanted / width)), 50, 200);
        stretched.setStretch(fitted.stretch);
    }
    return fitted;
}
}

int ViewFontHeight(ViewFont role)
{
    return RoleOf(role).height;
}

QFont MakeViewFont(ViewFont role, const QPaintDevice& device)
{
    const Role r = RoleOf(role);
    QFont font;
    font.setFamilies({QLatin1String(kDashboardFace), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(r.weight);
    font.setUnderline(r.underline);
    // Whole pixels, as the layout's frames and the list grid are drawn.
    font.setStyleStrategy(QFont::NoAntialias);

    // Fitting measures many sizes; a role's fit holds for its resolution
    // for as long as the program runs (the fonts installed do not change
    // under it).
    static QHash<QString, Fitted> fits;
    const int dpi = device.logicalDpiY();
    const QString key = QStringLiteral("%1/%2").arg(int(role)).arg(dpi);
    auto found = fits.find(key);
    if (found == fits.end())
        found = fits.insert(key, Fit(font, r.height, device));
    font = Sized(font, found->pixels, dpi);
    font.setStretch(found->stretch);
    return font;
}
