// Resource identifiers of kolvane.scr: the password and configuration dialogs and their controls.
#pragma once

#define IDD_NEWPASSWORD 100
#define IDD_CHECKPASSWORD 101
#define IDD_CONFIGURATION 110
#define IDD_OPTIONS 111
#define IDD_AUDIOFILES 112
#define IDD_CAPTIONS 113
#define IDD_ABOUT 114

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

// frm_configuration: the buttons above and below the title picture.
#define IDC_CFG_COMMAND7 1201
#define IDC_CFG_COMMAND6 1202
#define IDC_CFG_IMAGE1 1203
#define IDC_CFG_COMMAND3 1204
#define IDC_CFG_COMMAND2 1205
#define IDC_CFG_COMMAND4 1206

// frm_options: frames, sliders and their end labels, check boxes and the picture buttons.
#define IDC_OPT_FRAME1 1301
#define IDC_OPT_FRAME2 1302
#define IDC_OPT_FRAME3 1303
#define IDC_OPT_FRAME4 1304
#define IDC_OPT_FRAME5 1305
#define IDC_OPT_HSCROLL1 1311
#define IDC_OPT_HSCROLL2 1312
#define IDC_OPT_HSCROLL3 1313
#define IDC_OPT_HSCROLL4 1314
#define IDC_OPT_HSCROLL5 1315
#define IDC_OPT_LABEL3 1323
#define IDC_OPT_LABEL4 1324
#define IDC_OPT_LABEL5 1325
#define IDC_OPT_LABEL6 1326
#define IDC_OPT_LABEL7 1327
#define IDC_OPT_LABEL8 1328
#define IDC_OPT_LABEL11 1331
#define IDC_OPT_LABEL12 1332
#define IDC_OPT_LABEL13 1333
#define IDC_OPT_LABEL14 1334
#define IDC_OPT_CHECK1 1341
#define IDC_OPT_CHECK2 1342
#define IDC_OPT_CHECK3 1343
#define IDC_OPT_CHECK4 1344
#define IDC_OPT_CHECK5 1345
#define IDC_OPT_SIZE_LABEL 1346
#define IDC_OPT_SIZE 1347
#define IDC_OPT_COMMAND8 1351
#define IDC_OPT_COMMAND7 1352
#define IDC_OPT_COMMAND2 1353
#define IDC_OPT_COMMAND1 1354

// frm_audio: the drive, folder and file lists, the audio list and the buttons.
#define IDC_AUD_DRIVE1 1401
#define IDC_AUD_DIR1 1402
#define IDC_AUD_LABEL1 1403
#define IDC_AUD_FILE1 1404
#define IDC_AUD_COMMAND1 1405
#define IDC_AUD_COMMAND2 1406
#define IDC_AUD_LABEL2 1407
#define IDC_AUD_LIST2 1408
#define IDC_AUD_COMMAND5 1409
#define IDC_AUD_COMMAND6 1410
#define IDC_AUD_COMMAND3 1411

// frm_captions. No button is IDOK: Enter in the text box reaches the dialog as IDOK and adds the line.
#define IDC_CAP_LIST1 1501
#define IDC_CAP_TEXT1 1502
#define IDC_CAP_COMMAND2 1503
#define IDC_CAP_COMMAND4 1504
#define IDC_CAP_COMMAND3 1505
#define IDC_CAP_COMMAND1 1506

// frm_About. cmdOK is IDOK, so Enter presses it; Escape (IDCANCEL) is routed to it as well.
#define IDC_ABT_IMAGE1 1601
#define IDC_ABT_TITLE 1602
#define IDC_ABT_VERSION 1603
#define IDC_ABT_FRAME1 1604
#define IDC_ABT_LABEL1_0 1610
#define IDC_ABT_LABEL1_1 1611
#define IDC_ABT_LABEL1_2 1612
#define IDC_ABT_LABEL1_3 1613
#define IDC_ABT_LABEL6 1616
#define IDC_ABT_LABEL7 1617
#define IDC_ABT_LABEL8 1618
#define IDC_ABT_LABEL9 1619
#define IDC_ABT_DISCLAIMER 1620
#define IDC_ABT_LINE1_0 1621
#define IDC_ABT_LINE1_1 1622
#define IDC_ABT_COMMAND1 1623
#define IDC_ABT_SYSINFO 1624
