// Resource identifiers shared by the three language sets and the program.
// Grouped by block; every number here is fixed: settings, tests and users
// rely on them.
#pragma once

// Frame resource: icon, accelerator table and standard toolbar.
#define IDR_MAINFRAME 128

// Dialog templates.
#define IDD_ABOUTBOX 101
#define IDD_VIDEOWND 130

// Bitmaps.
#define IDB_STANDARD_TOOLS 135

// Menus.
#define IDR_MENU_MAIN 182

// Controls.
#define IDC_ABOUT_NAME 1100
#define IDC_ABOUT_VERSION 1101
#define IDC_ABOUT_COPYRIGHT 1102
#define IDC_PREVIEW 1173

// Commands: menu 182.
#define ID_FILE_OPEN 32837
#define ID_FILE_SAVE 32838
#define ID_FILE_SAVE_AS 32839
#define ID_APP_EXIT 32844
#define ID_EDIT_UNDO_ALBUM 32895
#define ID_EDIT_DELETE 32896
#define ID_EDIT_COPY 32897
#define ID_EDIT_PASTE 32898
#define ID_EDIT_MOVE_TO_ALBUM 32899
#define ID_EDIT_UNDO 32900
#define ID_IMAGE_ROTATE_CW 32888
#define ID_IMAGE_ROTATE_CCW 32889
#define ID_IMAGE_BRIGHTNESS 32890
#define ID_IMAGE_CONTRAST 32891
#define ID_IMAGE_SHARPNESS 32892
#define ID_IMAGE_MOSAIC 32893
#define ID_IMAGE_CONCAVECON 32894
#define ID_VIEW_CAPTURE_WINDOW 32902
#define ID_VIEW_ALBUM_WINDOW 32903
#define ID_VIEW_TOOLBAR 32906
#define ID_VIEW_PREVIOUS_FILE 32907
#define ID_VIEW_NEXT_FILE 32908
#define ID_VIEW_ZOOM_IN 32909
#define ID_VIEW_ZOOM_OUT 32910
#define ID_VIEW_ONE_TO_ONE 32911
#define ID_VIEW_FIT_IN_WINDOW 32912
#define ID_VIEW_FULL_SCREEN 32913
#define ID_HELP_HELP 32956
#define ID_APP_ABOUT 32957

// Commands: standard toolbar 128.
#define ID_TB_STANDARD_MODE 32845
#define ID_TB_EDIT_MODE 32846
#define ID_TB_CAPTURE_WINDOW 32847
#define ID_TB_ALBUM_WINDOW 32848
#define ID_TB_NONE_1 32849
#define ID_TB_EMAIL 32850
#define ID_TB_NONE_2 32851
#define ID_TB_PRINT 32852
#define ID_TB_HELP 32853

// Commands reached through accelerators only.
#define ID_ALBUM_DELETE_FILE 32962

// Strings.
#define IDS_IDLE_MESSAGE 57345
#define IDS_VIDEO_TITLE 57361
#define IDS_ALBUM_TITLE 57362
#define IDS_LOW_RESOLUTION 57380
#define IDS_WARNING_CAPTION 57381
#define IDS_WIN98_FIRST_EDITION 57382

// Toolbar resource type.
#define RT_LUMORA_TOOLBAR 241
