#pragma once
// How the dialogs and the dashboard write money and dates.

#include "Time.h"

#include <QString>

// Money::Format (two decimals and a point whatever the user's locale), with
// a trailing blank when asked (list cells align on it).
QString FormatMoney(double value, bool trailingSpace = false);

// " %m/%d/%y", the list's date cell.
QString FormatEntryDate(CTime date);
