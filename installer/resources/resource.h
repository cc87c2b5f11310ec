// Resource ids of the installer: templates, the frame's menu and
// accelerators, controls and the string table.
#pragma once

#define IDR_MAINFRAME         129
#define IDD_EULA              130
#define IDD_CHOOSER           131

#define IDC_EULA_TEXT         1000
#define IDC_EULA_MESSAGE      1001
#define IDC_MODEL_LIST        1004
#define IDC_VERSION           1005

#define IDS_INSTALLER_TITLE   128
#define IDS_EULA_FILE         500
#define IDS_EULA_CAPTION      600
#define IDS_CHOOSER_CAPTION   601
#define IDS_ACCEPT            1000
#define IDS_DECLINE           1001
#define IDS_CANCEL            1002
#define IDS_VERSION_LABEL     1003
#define IDS_EULA_MESSAGE      10000
#define IDS_UNSUPPORTED_OS    10001
#define IDS_CANNOT_INSTALL    10002

#define ID_APP_EXIT           0xE141
