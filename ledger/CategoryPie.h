#pragma once
// The category pie without the drawing: which categories get a wedge, where
// each wedge ends on the bounding square and where each label goes.

#include <cstdint>
#include <string>
#include <vector>

struct CATTOTAL_NODE;

struct PiePoint
{
    int x = 0;
    int y = 0;
};

// A wedge runs counterclockwise from the radial through `start` to the one
// through `end` (the whole disc when the two coincide).
struct PieWedge
{
    int position = 0;
    uint32_t color = 0;  // 0xRRGGBB
    PiePoint start;
    PiePoint end;
};

struct PieLabel
{
    std::string name;
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct PieLayout
{
    bool fullDisc = false;  // nothing to show: the whole disc in cyan
    std::vector<PieWedge> wedges;
    std::vector<PieLabel> labels;
};

constexpr int kPieRadius = 120;
constexpr int kPieLabelRadius = 132;
constexpr uint32_t kPieEmptyColor = 0x0AFFFF;

// Colour of the wedge at position p; positions past the 30-entry table
// (a setting read from an old file or the settings store) reuse it cyclically.
uint32_t PieWedgeColor(int position);

// `first` is the head of the totals list sorted by spending. Positions
// startCategories .. numCategories - 1 are shown, up to the first category
// without spending.
PieLayout LayoutCategoryPie(const CATTOTAL_NODE* first, int startCategories, int numCategories, int cx, int cy);
