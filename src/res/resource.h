// Resource identifiers of QuillexSetup.exe.
#pragma once

#define IDR_MAINFRAME 128

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_EXPLAIN 159
#define IDD_ISCLOSE 161
#define IDD_MESERROR 165

// Strings.
#define IDS_ABOUTBOX 101

// Controls.
#define IDC_EXPLAIN_CLOSE 1020
#define IDC_ISCLOSE_NO 1022
#define IDC_ISCLOSE_YES 1023
#define IDC_ISCLOSE_QUESTION 1024
#define IDC_MESERROR_OK 1025
#define IDC_MESERROR_HEADING 1026

// Skin pictures (24-bit bitmaps; the logo is a PNG with alpha). Each picture
// that shows text has a string of the same id with that text.
#define IDB_MODEL_HEADING 134
#define IDB_BACK 137
#define IDB_NEXT 138
#define IDB_CANCEL 139
#define IDB_NO_USB_PORT 140
#define IDB_CONFIRM_NOTE 141
#define IDB_CONFIRM_LABELS 142
#define IDB_FINISH 143
#define IDB_INSTALLING 146
#define IDB_CLOSE_CROSS 150
#define IDB_NO 162
#define IDB_YES 163
#define IDB_QUIT_QUESTION 164
#define IDB_INSTALL_FAILED 166
#define IDB_OK_HOVER 167
#define IDB_BACK_HOVER 168
#define IDB_NEXT_HOVER 169
#define IDB_CANCEL_HOVER 170
#define IDB_FINISH_HOVER 172
#define IDB_OK 173
#define IDB_NO_HOVER 174
#define IDB_YES_HOVER 175
#define IDB_USB_PORT_FOUND 176
#define IDB_LOGO 182

// The wizard (dialog 102) and its controls.
#define IDD_QUILLEXSETUP_DIALOG 102
#define IDC_STATUS_PICTURE 1000
#define IDC_HEADING_PICTURE 1004
#define IDC_BACK 1007
#define IDC_NEXT 1008
#define IDC_CANCEL 1009
#define IDC_PORT_LIST 1010
#define IDC_PROGRESS 1013
#define IDC_FINISH 1027
#define IDC_LOGO 1030
#define IDC_MODEL_LIST 1031
