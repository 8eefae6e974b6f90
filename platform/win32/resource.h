// Resource identifiers of kolvane.scr: the two password dialogs and their controls.
#pragma once

#define IDD_NEWPASSWORD 100
#define IDD_CHECKPASSWORD 101

// frm_newpassword. The buttons keep ids of their own, so the dialog manager's Enter (IDOK) and
// Escape (IDCANCEL) reach no button.
#define IDC_NEW_LABEL1 1001
#define IDC_NEW_LABEL2 1002
#define IDC_NEW_PASSWORD 1003
#define IDC_NEW_LABEL3 1004
#define IDC_NEW_PASSWORD2 1005
#define IDC_NEW_OK 1006
#define IDC_NEW_CANCEL 1007

// frm_checkpassword.
#define IDC_CHECK_LABEL1 1101
#define IDC_CHECK_TEXT1 1102
#define IDC_CHECK_COMMAND1 1103
#define IDC_CHECK_COMMAND2 1104
