#pragma once
// Values that live for the whole run rather than in one document: the file
// carries them, the settings dialogs change them, the settings store keeps
// the four integers between runs.

#include <string>

extern const std::string g_strVersion;     // "Version 1.0.0.0"
extern std::string g_strPasswordHash;      // empty: no password
extern std::string g_strCategoryAccount;   // "Show All": every account
extern int g_nUpcomingDays;
extern int g_nNumCategories;
extern int g_nStartCategories;
extern int g_nLookback;

namespace AppValues
{
constexpr const char* kShowAll = "Show All";
constexpr int kDefaultUpcomingDays = 20;
constexpr int kDefaultNumCategories = 10;
constexpr int kDefaultStartCategories = 1;
constexpr int kDefaultLookback = 180;

// Back to the values of a fresh start (the integers as the settings store
// gives them on a clean profile); used by tests and the command line.
void ResetToDefaults();
}
