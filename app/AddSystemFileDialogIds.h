#pragma once
// Resource identifiers of the dialog that adds a user-defined file to the system-file selection.

#define IDD_ADD_SYSTEM_FILE 2810
#define IDC_ADD_FILE_NAME 2811
#define IDC_ADD_FILE_BROWSE 2812
#define IDC_ADD_FILE_INI 2813
#define IDC_ADD_FILE_TEXT 2814
#define IDC_ADD_FILE_NOTE 2815
