#pragma once
// Resource and command identifiers of the main window (dialogs keep theirs beside them).

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDI_QUORVEL 102        // the first icon: the program's
#define IDR_RESULT_POPUPS 103  // pop-up menus of the result trees and lists, then of the selection pages
#define IDI_DOCUMENT 104       // the second icon: the data files' ("<exe>,1")
#define IDR_HELP 105           // the help document, type RT_HTML, its images inlined

// File
#define IDM_LOAD_SELECTION 1001
#define IDM_SAVE_SELECTION 1002
#define IDM_RESET_SELECTIONS 1003
#define IDM_RESTORE_SAVED_CONFIG 1004
#define IDM_LOAD_LOG_FILE 1005
#define IDM_EXIT 1006
// Wizards
#define IDM_START_WIZARD 1101
#define IDM_INSTALL_APPLICATION 1102
#define IDM_REMOVE_APPLICATION 1103
#define IDM_RESTORE_ALL 1104
#define IDM_STEP_WIZARD 1105  // the toolbar alone
// Action
#define IDM_SAVE_CURRENT_CONFIG 1201
#define IDM_COMPARE 1202
#define IDM_INCREMENTAL_COMPARE 1203
#define IDM_FIND_DUPLICATES 1204
#define IDM_FIND_TEMP_FILES 1205
#define IDM_FILE_BACKUP 1206
#define IDM_DELETE_FONTS 1207
#define IDM_DELETE_APPLICATIONS 1208
#define IDM_CREATE_INSTALL_FILES 1209
#define IDM_SAVE_CONFIG_AS 1210
#define IDM_COMPARE_CONFIGURATIONS 1211
#define IDM_REFRESH_VIEW 1212
// Options
#define IDM_SETTINGS 1301
// Help
#define IDM_HELP 1401
#define IDM_ABOUT 1402
#define IDM_WELCOME_SCREEN 1403
// Pop-up menus of the result trees, in LogSection order
#define IDM_EXPORT_REG_DATA 1501
#define IDM_EXPORT_DRIVE_DATA 1502
#define IDM_EXPORT_SYSTEM_DATA 1503
#define IDM_CREATE_INSTALL_FILES_REGISTRY 1511
#define IDM_CREATE_INSTALL_FILES_DRIVE 1512
#define IDM_CREATE_INSTALL_FILES_SYSTEM 1513
// Restore Changes of the result trees and of the lists beside them, in LogSection order
#define IDM_RESTORE_REGISTRY 1601
#define IDM_RESTORE_DRIVE 1602
#define IDM_RESTORE_SYSTEM 1603
#define IDM_RESTORE_REG_VALUES 1611
#define IDM_RESTORE_DRIVE_FILES 1612
#define IDM_RESTORE_SYSTEM_VALUES 1613
// Exclusions, in LogSection order where there are three
#define IDM_DONT_CHECK_REGISTRY 1621
#define IDM_DONT_CHECK_DRIVE 1622
#define IDM_DONT_CHECK_SYSTEM 1623
#define IDM_DONT_CHECK_DRIVE_FILES 1631
#define IDM_EXCLUDE_FILES 1632       // pop-up of the drive selection's file list
#define IDM_ADD_EXCLUDED_FILES 1633  // the "Add" button beside the exclude list
#define IDM_SHOW_CLSID_NAME 1641

#define IDM_ADD_USER_FILE 1651  // pop-up of the system-file selection tree
#define IDM_DELETE_USER_FILE 1652
