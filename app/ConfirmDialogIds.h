#pragma once
// Resource identifiers of the restore confirmation dialog.

#define IDD_CONFIRM 2800
#define IDC_CONFIRM_LIST 2801
#define IDC_CONFIRM_NEW 2802
#define IDC_CONFIRM_DELETED 2803
#define IDC_CONFIRM_ALTERED 2804
#define IDC_CONFIRM_AGAIN 2805
#define IDC_CONFIRM_EXECUTE 2806
