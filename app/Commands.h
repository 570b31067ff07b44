#pragma once
// Command ids of the menus, toolbar and keys, and their prompt texts: the
// first line shows in the status bar, the second is the tool tip.

#include <QString>

enum CommandId
{
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PAGE_SETUP = 57605,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_VIEW_BALANCE = 32775,
    ID_VIEW_CATEGORIES = 32776,
    ID_FILE_SETPASSWORD = 32778,
    ID_VIEW_RECONSILE = 32779,
    ID_FILE_EXPORT_PDF = 32780,
    ID_FILE_IMPORT_STATEMENT = 32781,
    // The dashboard's editors, reachable from the keyboard too.
    ID_VIEW_ACCOUNTS = 32782,
    ID_VIEW_RECURRING = 32783,
    ID_VIEW_DAY_CHART = 32784,
    ID_VIEW_CATEGORY_VIEW = 32785,
    ID_FILE_ENCRYPTION = 32786,
};

// The prompt text of a command; empty for commands without one.
QString CommandPrompt(int id);
// Its first line (status bar) and second line (tool tip).
QString CommandStatusTip(int id);
QString CommandToolTip(int id);
