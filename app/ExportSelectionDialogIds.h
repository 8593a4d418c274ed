#pragma once
// Resource identifiers of the export selection dialog.

#define IDD_EXPORT_SELECTION 2750
#define IDC_EXPORT_PROMPT 2751
#define IDC_EXPORT_NEW_KEY 2752        // cbNewKey
#define IDC_EXPORT_DELETED_KEY 2753    // cbDeletedKey
#define IDC_EXPORT_ALTERED_KEY 2754    // cbAlteredKey
#define IDC_EXPORT_NEW_VALUE 2755      // cbNewValue
#define IDC_EXPORT_DELETED_VALUE 2756  // cbDeletedValue
#define IDC_EXPORT_VALUE_OLD 2757      // cbValueOld
#define IDC_EXPORT_VALUE_NEW 2758      // cbValueNew
