/*
 * Resource identifiers of Orbels Launch.
 *
 * Shared by the C++ sources and by the resource compiler, so this header
 * holds nothing but #define lines.
 */
#ifndef ORBELS_LAUNCH_RESOURCE_H
#define ORBELS_LAUNCH_RESOURCE_H

/* Dialog templates, menus, icons and bitmaps */
#define IDD_ABOUTBOX                    100
#define IDR_MAINFRAME                   128
#define IDI_NOICON                      131
#define IDI_FOLDER                      132
#define IDB_TOOLBAR                     133
#define IDB_TOOLBAR_DISABLED            134
#define IDD_SHORTCUT_PROPERTIES         135
#define IDD_OPTIONS                     136
#define IDD_LAUNCH_ORBELS               137
#define IDR_CONTEXT_MENU                138
#define IDB_BANNER                      139
#define IDD_LAUNCH_ORBELS2              140

/* The toolbar strips and the banner again, drawn for scaled displays (the 16-pixel strips
   are 133 and 134, the banner at 100 % is 139) */
#define IDB_TOOLBAR_20                  150
#define IDB_TOOLBAR_DISABLED_20         151
#define IDB_TOOLBAR_24                  152
#define IDB_TOOLBAR_DISABLED_24         153
#define IDB_TOOLBAR_28                  154
#define IDB_TOOLBAR_DISABLED_28         155
#define IDB_TOOLBAR_32                  156
#define IDB_TOOLBAR_DISABLED_32         157
#define IDB_BANNER_150                  158
#define IDB_BANNER_200                  159

/* The picture a program shortcut shows until its target's icon has arrived */
#define IDI_LOADING                     160

/* Resource type number of the toolbar button order (see OrbelsLaunch.rc) */
#define IDR_TOOLBAR_TYPE                241

/* Messages about files and folders dropped on the list */
#define IDS_DROP_NOT_ADDED_TITLE        200
#define IDS_DROP_SUMMARY_TITLE          201
#define IDS_DROP_SUMMARY_TEXT           202
#define IDS_DROP_MORE                   203
#define IDS_DROP_FORBIDDEN              204
#define IDS_DROP_DUPLICATE_PROGRAM      205
#define IDS_DROP_DUPLICATE_FOLDER       206
#define IDS_DROP_LINK_UNREADABLE        207
#define IDS_DROP_LINK_MISSING           208
#define IDS_DROP_MISSING                209
#define IDS_DROP_TOO_LONG               210
#define IDS_DROP_NOT_A_PROGRAM          211
#define IDS_DROP_NOT_INSTALLED          212
#define IDS_DROP_NAME_NOT_PASSED        213

/* Commands */
#define ID_HELP_CONTENTS                32778
#define ID_LAUNCH_SELECTED              32779
#define ID_LAUNCH_ORBELS                32780
#define ID_VIEW_LARGE_ICONS             32781
#define ID_VIEW_SMALL_ICONS             32782
#define ID_RELOAD_ICON                  32783
#define ID_REFRESH_VIEW                 32784
#define ID_PROGRAM_OPTIONS              32785
#define ID_NEW_PROGRAM_SHORTCUT         32786
#define ID_NEW_FOLDER_SHORTCUT          32787
#define ID_RENAME                       32788
#define ID_DELETE                       32789
#define ID_PROPERTIES                   32790
#define ID_DELETE_ALL                   32795
#define ID_LAUNCH_ORBELS2               32796

/* Commands and strings that follow the application framework's numbering */
#define ID_APP_TITLE_STRING             57344
#define ID_IDLE_MESSAGE                 57345
#define ID_FILE_NEW                     57600
#define ID_APP_ABOUT                    57664
#define ID_APP_EXIT                     57665
#define ID_VIEW_LIST                    59410
#define ID_VIEW_DETAILS                 59411
#define ID_INDICATOR_SHORTCUTS          61204
#define IDS_FAILED_TO_CREATE_DOC        61700
#define IDS_PARSE_INT                   61712
#define IDS_PARSE_INT_RANGE             61713

/* Controls without an identifier of their own (same text as in winres.h), and the value such
   a control carries in the dialog templates: 0xFFFF, what IDC_STATIC became in the 16-bit
   identifier of a DIALOG template (a DIALOGEX keeps 32 bits, where -1 would stay -1) */
#define IDC_STATIC                      (-1)
#define IDC_NO_ID                       0xFFFF

/* About box (100) */
#define IDC_MAIL_LINK                   1000
#define IDC_WEB_LINK                    1001

/* Shortcut properties (135) */
#define IDC_CHANGE_TARGET               1008
#define IDC_PROPERTIES_COMMAND_LINE     1018
#define IDC_TARGET                      1022

/* Program options (136) */
#define IDC_AUTO_MINIMIZE               1000
#define IDC_OPTIONS_HIDE_LAUNCH         1001
#define IDC_MOUSE_SINGLE_CLICK          1006
#define IDC_MOUSE_DOUBLE_CLICK          1007
#define IDC_KEEP_ON_TOP                 1015
#define IDC_SNAP_WINDOW                 1023
#define IDC_SNAP_WIDTH                  1025

/* Launch The Orbels (137) */
#define IDC_HIDE_LAUNCH                 1002
#define IDC_GAME_LOCATION               1007
#define IDC_CHANGE_LOCATION             1008
#define IDC_AUTO_LOCATE                 1009
#define IDC_SKIP_INTRO                  1013
#define IDC_NO_SOUND                    1014
#define IDC_RUN_IN_WINDOW               1015
#define IDC_SKIP_SYSTEM_CHECK           1016
#define IDC_DISABLE_DX6                 1017
#define IDC_COMMAND_LINE                1018
#define IDC_RUN_HIGH_RES                1021

/* Launch The Orbels 2 (140) */
#define IDC_GAME_EXECUTABLE             1003
#define IDC_AUTO_LOCATE2                1004
#define IDC_RUN_IN_WINDOW2              1006
#define IDC_NO_SOUND2                   1007
#define IDC_CHANGE_EXECUTABLE           1008
#define IDC_SPECIFY_RESOLUTION          1009
#define IDC_RESOLUTION_800X600          1012
#define IDC_RESOLUTION_1024X768         1013
#define IDC_RESOLUTION_CUSTOM           1015
#define IDC_CUSTOM_RESOLUTION           1016
#define IDC_HIDE_LAUNCH2                1019
#define IDC_COMMAND_LINE2               1020

#endif /* ORBELS_LAUNCH_RESOURCE_H */
