#pragma once
// How the dialogs and the dashboard write money and dates, and how the
// register editor and the reconcile dialog read the money the user types.

#include "Time.h"

#include <QString>

class QLineEdit;

// Money::Format (two decimals and a point whatever the user's locale), with
// a trailing blank when asked (list cells align on it). A negative zero
// shows as "0.00": a fee-only payment stores -0.0.
QString FormatMoney(double value, bool trailingSpace = false);

// " %m/%d/%y", the list's date cell.
QString FormatEntryDate(CTime date);

// Reads typed money: a plain decimal number. Not-a-number texts and values
// beyond a trillion dollars are refused. The value is rounded to the cent,
// so the register adds up to what it shows.
bool ParseMoney(const QString& text, double& value);

// As ParseMoney; a refused text is reported with a message naming the
// field, which then gets the focus.
bool ReadMoney(QLineEdit* edit, const QString& fieldName, double& value);
