#pragma once
// How the register editor and the reconcile dialog write money and dates.

#include "Time.h"

#include <QString>

// "%.2f", with a trailing blank when asked (list cells align on it).
// A negative zero shows as "0.00": a fee-only payment stores -0.0.
QString FormatMoney(double value, bool trailingSpace = false);

// " %m/%d/%y", the list's date cell.
QString FormatEntryDate(CTime date);
