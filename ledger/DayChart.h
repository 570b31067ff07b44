#pragma once
// The dashboard's day chart without the drawing: one series per chosen
// account, its balance after each entry of the lookback window, and the
// mapping of those balances onto the chart's columns.

#include "Time.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class CAccount;
class CQuilletDoc;

// One entry of a series: its date, what it did to the balance (signed
// amount less fee) and the account's balance just after it (filled by
// CAccountSSL::ComputeRange).
class CBalancePoint
{
public:
    CBalancePoint(CTime date, double amount) : m_date(date), m_dAmount(amount) {}

    CTime m_date;
    double m_dAmount = 0.0;
    double m_dBalanceAfter = 0.0;
};

// The line of one account over the lookback window.
class CAccountSSL
{
public:
    static constexpr int kMaxColumns = 320;

    CAccountSSL();

    // Collects the entries dated within the last `days` days and up to the
    // end of today, void ones left out, and the account's balance by the
    // end of today under the balance rule. Amounts, fees and an opening
    // balance that are no finite number are left out, as from every total.
    void Build(CAccount& account, int days);
    // Inserts before the first point that is not earlier, so a new point goes
    // ahead of existing points of the same date.
    void AddPoint(CTime date, double amount);
    // Walks back from today's balance: every point's balance after it, and
    // the lowest and highest balance of the window.
    void ComputeRange();
    // Heights above the plot's bottom for the first min(width, 320) columns.
    // Points that fall outside those columns (entries of today or the
    // future, or anything when the window is empty) are dropped; the last
    // column always shows today's balance.
    void MapToColumns(double low, double high, int height, int width);

    double m_dMin = -1.0;
    double m_dMax = -1.0;
    int m_nColumnY[kMaxColumns];
    std::list<CBalancePoint> m_points;
    double m_dBalance = 0.0;
    int m_nDays = 0;
    int m_nColumns = 0;
};

// Everything the painter needs: the series of the document's day-chart
// selection (names that match no account are skipped) and their common
// balance range, already mapped onto `width` columns of `height` units.
struct DayChartData
{
    double low = 0.0;
    double high = 10000.0;
    std::vector<std::unique_ptr<CAccountSSL>> series;
};
DayChartData BuildDayChart(CQuilletDoc& doc, int lookback, int height, int width);

// Line colour of series k, as 0xRRGGBB.
uint32_t DayChartLineColor(int k);

// Height of `value` on a scale from low to high that is `height` units tall.
// A flat or unusable range puts every value at half height, level with the
// scale's middle label; results stay within 0..height.
int ScaleToHeight(double value, double low, double high, int height);

// The scale's labels show whole units; values past the int range are held
// at its ends rather than converted with undefined results.
int ScaleLabelValue(double value);
