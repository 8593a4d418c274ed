#pragma once
// Resource identifiers of the install/uninstall wizard. The step pages' own controls are made
// by the window: page p (install pages 0-3, then uninstall pages 4-5) uses
// IDC_IW_PAGE_FIRST + kInstallWizardPageIdStep * p and the ids after it; its buttons start at
// kInstallWizardButtonOffset within that range.

#define IDD_INSTALL_WIZARD 3600
#define IDC_IW_START1 3601
#define IDC_IW_START2 3602
#define IDC_IW_START3 3603
#define IDC_IW_START4 3604
#define IDC_IW_START5 3605
#define IDC_IW_START6 3606
#define IDC_IW_BACK 3610
#define IDC_IW_NEXT 3611
#define IDC_IW_START_PAGE 3612
#define IDC_IW_CLOSE 3613
#define IDC_IW_INSTALL_TABS 3614
#define IDC_IW_UNINSTALL_TABS 3615
#define IDC_IW_PAGE_FIRST 3700
#define kInstallWizardPageIdStep 20
#define kInstallWizardButtonOffset 10
