#pragma once
// Columns whose widths are shares of the list's width, kept as the dialog
// is resized: width = list width x numerator / denominator - pixels
// (the pixels leave room for the vertical scroll bar).

#include <QString>
#include <Qt>

#include <vector>

class CXListCtrl;

struct ListColumn
{
    QString heading;
    Qt::Alignment alignment;
    int numerator;
    int denominator;
    int minusPixels = 0;
};

// Inserts the columns (the list must have none yet) and sizes them now and
// at every resize of the list.
void InsertListColumns(CXListCtrl* list, const std::vector<ListColumn>& columns);
