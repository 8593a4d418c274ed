#pragma once
// Resource identifiers of the dialog that defines one search of a cleaning tool.

#define IDD_SEARCH_DEFINITION 2900
#define IDC_DEFINITION_DESCRIPTION 2901
#define IDC_DEFINITION_PATH 2902
#define IDC_DEFINITION_BROWSE 2903
#define IDC_DEFINITION_RECURSE 2904
#define IDC_DEFINITION_MASK 2905
#define IDC_DEFINITION_DESCRIPTION_LABEL 2906
