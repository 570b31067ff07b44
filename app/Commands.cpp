#include "Commands.h"

QString CommandPrompt(int id)
{
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + 16)
        return "Open this document";
    switch (id) {
    case ID_FILE_NEW: return "Create a new document\nNew";
    case ID_FILE_OPEN: return "Open an existing document\nOpen";
    case ID_FILE_SAVE: return "Save the active document\nSave";
    case ID_FILE_SAVE_AS: return "Save the active document with a new name\nSave As";
    case ID_FILE_PRINT_SETUP: return "Change the printer and printing options\nPrint Setup";
    case ID_FILE_PRINT: return "Print the active document\nPrint";
    case ID_FILE_PRINT_PREVIEW: return "Display full pages\nPrint Preview";
    case ID_FILE_EXPORT_PDF: return "Save the printed page as a PDF file\nExport PDF";
    case ID_FILE_ENCRYPTION: return "Encrypt the checkbook file with a passphrase, change it or turn it off\nEncryption";
    case ID_FILE_IMPORT_STATEMENT:
        return "Add the lines of a bank statement (CSV, QIF, OFX, QFX) to an account\nImport Statement";
    case ID_EDIT_UNDO: return "Undo the last action\nUndo";
    case ID_EDIT_REDO: return "Redo the previously undone action\nRedo";
    case ID_EDIT_CUT: return "Cut the selection and put it on the Clipboard\nCut";
    case ID_EDIT_COPY: return "Copy the selection and put it on the Clipboard\nCopy";
    case ID_EDIT_PASTE: return "Insert Clipboard contents\nPaste";
    case ID_APP_ABOUT: return "Display program information, version number and copyright\nAbout";
    case ID_APP_EXIT: return "Quit the application; prompts to save documents\nExit";
    case ID_NEXT_PANE: return "Switch to the next window pane\nNext Pane";
    case ID_PREV_PANE: return "Switch back to the previous window pane\nPrevious Pane";
    case ID_VIEW_TOOLBAR: return "Show or hide the toolbar\nToggle ToolBar";
    case ID_VIEW_STATUS_BAR: return "Show or hide the status bar\nToggle StatusBar";
    case ID_VIEW_ACCOUNTS: return "Add, change or delete accounts\nAccounts";
    case ID_VIEW_RECURRING: return "Add, change or delete recurring transactions\nRecurring Transactions";
    case ID_VIEW_DAY_CHART: return "Choose the accounts and days the day chart shows\nDay Chart Settings";
    case ID_VIEW_CATEGORY_VIEW: return "Choose what the category pie chart shows\nCategory View Settings";
    default: break;
    }
    return QString();
}

QString CommandStatusTip(int id)
{
    return CommandPrompt(id).section('\n', 0, 0);
}

QString CommandToolTip(int id)
{
    return CommandPrompt(id).section('\n', 1, 1);
}
