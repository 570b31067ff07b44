#include "DayChart.h"

#include "QuilletDoc.h"
#include "Records.h"

#include <algorithm>
#include <cmath>
#include <vector>

CAccountSSL::CAccountSSL()
{
    std::fill(std::begin(m_nColumnY), std::end(m_nColumnY), -1);
}

void CAccountSSL::Build(CAccount& account, int days)
{
    const int64_t now = Clock::Now();
    const int64_t start = now - int64_t(days) * CTime::kDay;
    const int64_t today = CTime(now).GetDayNumber();
    // The balance rule over what has happened by the end of today: a
    // post-dated entry has not, and a void one never does. A NaN or an
    // infinity from a damaged file is left out, as from every total, so it
    // cannot turn the whole line into one of no numbers.
    double balance = std::isfinite(account.m_dOpeningBalance) ? account.m_dOpeningBalance : 0.0;
    std::vector<CBalancePoint> added;
    for (const auto& entry : account.m_transactions) {
        if (entry->m_bVoid || !std::isfinite(entry->m_dAmount) || !std::isfinite(entry->m_dFee))
            continue;
        if (int64_t(entry->m_date.GetTime()) > now && entry->m_date.GetDayNumber() > today)
            continue;
        balance = (balance + entry->m_dAmount) - entry->m_dFee;
        if (int64_t(entry->m_date.GetTime()) >= start)
            added.emplace_back(entry->m_date, entry->m_dAmount - entry->m_dFee);
    }
    m_dBalance = balance;
    m_nDays = days;

    // Where AddPoint would put each of them, one sort instead of a walk per
    // point: the later of two of the same date ahead, and ahead of points
    // already there.
    std::vector<CBalancePoint> points(added.rbegin(), added.rend());
    points.insert(points.end(), m_points.begin(), m_points.end());
    std::stable_sort(points.begin(), points.end(),
                     [](const CBalancePoint& a, const CBalancePoint& b) { return a.m_date < b.m_date; });
    m_points.assign(points.begin(), points.end());
}

void CAccountSSL::AddPoint(CTime date, double amount)
{
    auto it = m_points.begin();
    while (it != m_points.end() && it->m_date < date)
        ++it;
    m_points.insert(it, CBalancePoint(date, amount));
}

void CAccountSSL::ComputeRange()
{
    double balance = m_dBalance;
    m_dMin = m_dMax = balance;
    for (auto it = m_points.rbegin(); it != m_points.rend(); ++it) {
        it->m_dBalanceAfter = balance;
        balance -= it->m_dAmount;
        if (balance < m_dMin)
            m_dMin = balance;
        if (balance > m_dMax)
            m_dMax = balance;
    }
}

int ScaleToHeight(double value, double low, double high, int height)
{
    const double range = high - low;
    if (!(range > 0.0) || !std::isfinite(range))
        return height / 2;
    const double ratio = (value - low) / range;
    if (!std::isfinite(ratio))
        return height / 2;
    return int(std::clamp(ratio, 0.0, 1.0) * height);
}

void CAccountSSL::MapToColumns(double low, double high, int height, int width)
{
    std::fill(std::begin(m_nColumnY), std::end(m_nColumnY), -1);
    const int columns = std::min(width, kMaxColumns);
    m_nColumns = std::max(columns, 0);
    if (m_nColumns == 0)
        return;

    // A window of no days has no column to put an entry in; only today's
    // balance is shown then.
    if (m_nDays > 0) {
        const int64_t now = Clock::Now();
        for (const CBalancePoint& point : m_points) {
            const int64_t days = (now - int64_t(point.m_date.GetTime())) / CTime::kDay;
            const double x = m_nColumns - (double(days) / m_nDays) * m_nColumns;
            // Entries of today land on column W and future ones beyond it:
            // neither is drawn, and the table must not be written past its end.
            if (!(x > -1.0 && x < m_nColumns))
                continue;
            m_nColumnY[int(x)] = ScaleToHeight(point.m_dBalanceAfter, low, high, height);
        }
    }
    m_nColumnY[m_nColumns - 1] = ScaleToHeight(m_dBalance, low, high, height);
}

DayChartData BuildDayChart(CQuilletDoc& doc, int lookback, int height, int width)
{
    DayChartData chart;
    bool rangeSet = false;
    for (int i = 0; i < 5; ++i) {
        std::string name;
        if (!doc.GetDayChartAccount(i, name))
            continue;
        CAccount* account = doc.FindAccount(name);
        if (!account)
            continue;  // a stale name: no line rather than a line of nothing
        auto series = std::make_unique<CAccountSSL>();
        series->Build(*account, lookback);
        series->ComputeRange();
        // Only sums past a double's range are left without a number here;
        // such a line is drawn at half height.
        if (std::isfinite(series->m_dMin) && std::isfinite(series->m_dMax)) {
            if (!rangeSet) {
                chart.low = series->m_dMin;
                chart.high = series->m_dMax;
                rangeSet = true;
            } else {
                chart.low = std::min(chart.low, series->m_dMin);
                chart.high = std::max(chart.high, series->m_dMax);
            }
        }
        chart.series.push_back(std::move(series));
    }
    for (auto& series : chart.series)
        series->MapToColumns(chart.low, chart.high, height, width);
    return chart;
}

uint32_t DayChartLineColor(int k)
{
    k = std::max(k, 0);
    const uint32_t red = uint32_t((81 + 12 * k) % 200 + 40);
    const uint32_t green = uint32_t((20 + 73 * k) % 180 + 60);
    const uint32_t blue = uint32_t((215 * k) % 178 + 58);
    return (red << 16) | (green << 8) | blue;
}

int ScaleLabelValue(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return 2147483647;
    if (value <= -2147483648.0)
        return -2147483647 - 1;
    return int(value);
}
