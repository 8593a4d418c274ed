#pragma once
// Resource identifiers of the input box that asks for a file name.

#define IDD_FILE_NAME_INPUT 2860
#define IDC_FILE_NAME_PROMPT 2861
#define IDC_FILE_NAME_EDIT 2862
