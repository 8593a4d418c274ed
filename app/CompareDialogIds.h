#pragma once
// Resource identifiers of the dialog that compares two chosen configuration files.

#define IDD_COMPARE 2710
#define IDC_COMPARE_OLD 2711
#define IDC_COMPARE_OLD_BROWSE 2712
#define IDC_COMPARE_NEW 2713
#define IDC_COMPARE_NEW_BROWSE 2714
#define IDC_COMPARE_LOG 2715
#define IDC_COMPARE_LOG_BROWSE 2716
