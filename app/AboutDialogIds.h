#pragma once
// Resource identifiers of the About dialog.

#define IDD_ABOUT 2880
#define IDC_ABOUT_ICON 2881
#define IDC_ABOUT_NAME 2882
#define IDC_ABOUT_VERSION 2883
#define IDC_ABOUT_BUILD 2884
#define IDC_ABOUT_PURPOSE 2885
#define IDC_ABOUT_VIEW 2886
