#pragma once
// Resource identifiers of the Restore All dialog.

#define IDD_RESTORE_ALL 2820
#define IDC_RESTORE_ALL_REGISTRY 2821
#define IDC_RESTORE_ALL_FILES 2822
#define IDC_RESTORE_ALL_SYSTEM 2823
