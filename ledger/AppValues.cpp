#include "AppValues.h"

#include <cstdio>

namespace
{
std::string MakeVersion()
{
    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%d.%d.%d", 1, 0, 0, 0);
    return text;
}
}

const std::string g_strVersion = MakeVersion();
std::string g_strPasswordHash;
std::string g_strCategoryAccount = AppValues::kShowAll;
// Zero until the application reads the settings store at start-up.
int g_nUpcomingDays = 0;
int g_nNumCategories = 0;
int g_nStartCategories = 0;
int g_nLookback = 0;

void AppValues::ResetToDefaults()
{
    g_strPasswordHash.clear();
    g_strCategoryAccount = kShowAll;
    g_nUpcomingDays = kDefaultUpcomingDays;
    g_nNumCategories = kDefaultNumCategories;
    g_nStartCategories = kDefaultStartCategories;
    g_nLookback = kDefaultLookback;
}
