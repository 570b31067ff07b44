#include "CategoryPie.h"

#include "DerivedLists.h"

#include <cmath>

namespace
{
constexpr uint32_t kWedgeColors[30] = {
    0x0AFF0A, 0x0A0AFF, 0xFFFF0A, 0xFF0AFF, 0x0AFFFF, 0xA8A80A, 0xA80AA8, 0x0AA8A8, 0x6CA8FF, 0xA86CFF,
    0xFFA86C, 0xFF6CA8, 0x14AAC8, 0xC8AA14, 0xAA14C8, 0x14C8AA, 0x50DC6E, 0xDC6E50, 0x6E50DC, 0xEB44FF,
    0x0A0AFF, 0x0AA80A, 0xFFA8A8, 0xFF6CA8, 0x0AA8FF, 0xA86CFF, 0xA8AA6C, 0x0AAAA8, 0x6C14C8, 0xED8EB4,
};

// The drawing has always used this value of pi; keeping it keeps the
// wedge ends and labels where they were.
constexpr double kRadiansPerDegree = 3.14159 / 180.0;

double Tan120(double degrees)
{
    return kPieRadius * std::tan(degrees * kRadiansPerDegree);
}

// The end of a wedge on the circle's bounding square, by its end angle
// (0 at the top, counterclockwise).
PiePoint EndPoint(double e, int cx, int cy)
{
    const int r = kPieRadius;
    if (e < 45)
        return {int(cx - Tan120(e)), cy - r};
    if (e < 90)
        return {cx - r, int(cy - Tan120(90 - e))};
    if (e < 135)
        return {cx - r, int(cy + Tan120(e - 90))};
    if (e < 180)
        return {int(cx - Tan120(180 - e)), cy + r};
    if (e < 225)
        return {int(cx + Tan120(e - 180)), cy + r};
    if (e < 270)
        return {cx + r, int(cy + Tan120(270 - e))};
    if (e < 315)
        return {cx + r, int(cy - Tan120(e - 270))};
    return {int(cx + Tan120(360 - e)), cy - r};
}
}

uint32_t PieWedgeColor(int position)
{
    const int n = int(sizeof kWedgeColors / sizeof kWedgeColors[0]);
    return kWedgeColors[((position % n) + n) % n];
}

PieLayout LayoutCategoryPie(const CATTOTAL_NODE* first, int startCategories, int numCategories, int cx, int cy)
{
    PieLayout layout;

    const CATTOTAL_NODE* shown = first;
    for (int skip = 1; shown && skip < startCategories; ++skip)
        shown = shown->next.get();
    if (!shown) {
        layout.fullDisc = true;
        return layout;
    }

    double sum = 0.0;
    {
        const CATTOTAL_NODE* node = shown;
        for (int p = startCategories; node && p < numCategories; ++p, node = node->next.get())
            sum += node->Spending();
    }

    double angle = 0.0;
    PiePoint start{cx - 1, cy - kPieRadius};
    const CATTOTAL_NODE* node = shown;
    for (int p = startCategories; node && p < numCategories && node->total < 0.0; ++p, node = node->next.get()) {
        double sweep = (-node->total / sum) * 360.0;
        if (!std::isfinite(sweep))
            sweep = 0.0;  // totals too large to divide: show the label only
        const double mid = angle + sweep / 2;
        angle += sweep;

        // A wedge thinner than 0.6 degrees is left to the next one, which
        // then starts where the last drawn wedge ended.
        if (sweep >= 0.6 && angle < 361) {
            const PiePoint end = EndPoint(angle, cx, cy);
            layout.wedges.push_back({p, PieWedgeColor(p), start, end});
            start = end;
        }

        const double x = cx - kPieLabelRadius * std::sin(mid * kRadiansPerDegree);
        const double y = cy - kPieLabelRadius * std::cos(mid * kRadiansPerDegree);
        layout.labels.push_back({node->name, int(x - 32), int(y - 4), int(x + 32), int(y + 5)});
    }
    return layout;
}
