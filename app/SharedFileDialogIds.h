#pragma once
// Resource identifiers of the "Shared DLLs" question.

#define IDD_SHARED_FILE 2840
#define IDC_SHARED_LEAD 2841
#define IDC_SHARED_PATH 2842
#define IDC_SHARED_EXPLANATION 2843
#define IDC_SHARED_REPEAT 2844
