#pragma once
// Resource identifiers of the error dialog.

#define IDD_ERROR 2000
#define IDC_ERROR_ICON 2001
#define IDC_ERROR_TITLE 2002
#define IDC_ERROR_KIND 2003     // ErrorTypLBL
#define IDC_ERROR_MESSAGE 2004  // ErrTextMEMO
#define IDC_ERROR_DETAILS_BUTTON 2005
#define IDC_ERROR_DETAILS 2006  // DetailMEMO
