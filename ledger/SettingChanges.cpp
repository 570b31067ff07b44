// The settings a checkbook file carries with its ledger, and its password,
// as changes that can be undone.
#include "AppValues.h"
#include "DocChanges.h"

ViewSettings ViewSettings::Of(const CQuilletDoc& doc)
{
    ViewSettings settings;
    settings.dayChartSet = doc.IsDayChartSet();
    for (size_t line = 0; line < settings.dayChartAccounts.size(); ++line)
        settings.dayChartAccounts[line] = doc.m_dayChartAccounts[line];
    settings.lookback = g_nLookback;
    settings.numCategories = g_nNumCategories;
    settings.startCategories = g_nStartCategories;
    settings.categoryAccount = g_strCategoryAccount;
    return settings;
}

void ViewSettings::ApplyTo(CQuilletDoc& doc) const
{
    // Names and flag apart: a cleared selection keeps its names unreported.
    for (size_t line = 0; line < dayChartAccounts.size(); ++line)
        doc.m_dayChartAccounts[line] = dayChartAccounts[line];
    doc.m_bDayChartSet = dayChartSet;
    g_nLookback = lookback;
    g_nNumCategories = numCategories;
    g_nStartCategories = startCategories;
    g_strCategoryAccount = categoryAccount;
    doc.RebuildCategoryTotals();
    doc.SetModifiedFlag();
}

bool ViewSettings::operator==(const ViewSettings& other) const
{
    return dayChartSet == other.dayChartSet && dayChartAccounts == other.dayChartAccounts &&
           lookback == other.lookback && numCategories == other.numCategories &&
           startCategories == other.startCategories && categoryAccount == other.categoryAccount;
}

bool CViewSettingsChange::Do(CQuilletDoc& doc)
{
    m_before = ViewSettings::Of(doc);
    if (m_before == m_after)
        return false;
    m_after.ApplyTo(doc);
    return true;
}

bool CPasswordChange::Do(CQuilletDoc& doc)
{
    m_before = g_strPasswordHash;
    if (m_before == m_after)
        return false;
    Put(doc, m_after);
    return true;
}

void CPasswordChange::Put(CQuilletDoc& doc, const std::string& hash)
{
    g_strPasswordHash = hash;
    doc.SetModifiedFlag();
}
