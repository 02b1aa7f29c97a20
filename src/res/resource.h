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

// Albums: the album window, its tree and file list, the album dialogs.
#define IDI_ALBUM 149
#define IDI_ALBUM_SELECTED 150
#define IDR_ALBUM_TOOLBAR 151
#define IDR_ALBUM_MENU 158
#define IDB_ALBUM_TOOLS 162
#define IDD_NEW_ALBUM 166
#define IDD_ALBUM_RENAME 174
#define IDD_IMAGE_SEARCH 190
#define IDB_CELL_LARGE 2601
#define IDB_CELL_LARGE_SELECTED 2602
#define IDB_CELL_SMALL 2603
#define IDB_CELL_SMALL_SELECTED 2604
#define IDB_FILM_VIDEO 2605
#define IDB_FILM_SOUND 2606
#define IDC_ALBUM_PROMPT 1190
#define IDC_ALBUM_TEXT 1191
#define ID_ALBUM_NEW 32782
#define ID_ALBUM_DISPLAY_MODE 32783
#define ID_BROWSE_LARGE 32789
#define ID_BROWSE_DETAIL 32790
#define ID_BROWSE_SMALL 32878
#define ID_TREE_CREATE 32810
#define ID_TREE_DELETE 32830
#define ID_TREE_RENAME 32831
#define ID_ALBUM_COPY 32833
#define ID_ALBUM_PASTE 32834
#define ID_IMAGE_PROPERTIES 32835
#define ID_IMAGE_EDIT 32812
#define ID_IMAGE_BROWSE_LARGE 32883
#define ID_IMAGE_BROWSE_DETAIL 32884
#define ID_IMAGE_BROWSE_SMALL 32885
#define ID_IMAGE_RENAME 32836
#define ID_IMAGE_SAVE_AS 32968
#define ID_IMAGE_DELETE 32967
#define ID_IMAGE_MOVE_NONE 32818
#define ID_IMAGE_IMPORT 32819
#define ID_IMAGE_SEARCH 32820
#define ID_IMAGE_PRINT 32822
#define ID_IMAGE_EMAIL 32823
#define ID_SORT_NAME 32827
#define ID_SORT_SIZE 32828
#define ID_SORT_DATE 32829
#define IDS_ALBUM_CREATE_FAILED 7001
#define IDS_ALBUM_ALREADY_ALBUM 7002
#define IDS_ALBUM_NAME_EMPTY 7003
#define IDS_ALBUM_NAME_EXISTS 7004
#define IDS_ALBUM_FOLDER_EXISTS 7005
#define IDS_ALBUM_RENAME_FAILED 7006
#define IDS_ALBUM_DEFAULT_NO_DELETE 7007
#define IDS_ALBUM_SAME_ALBUM 7008
#define IDS_ALBUM_COPY_FAILED 7009
#define IDS_ALBUM_IMAGELIST_FAILED 7010
#define IDS_LIST_READ_FAILED 7011
#define IDS_LIST_NO_FILE 7012
#define IDS_LIST_ALLOC_FAILED 7013
#define IDS_LIST_NOT_FOUND 7014
#define IDS_CELL_OPEN_FAILED 7015
#define IDS_CELL_RENDER_FAILED 7016
#define IDS_LIST_COL_NAME 7017
#define IDS_LIST_COL_SIZE 7018
#define IDS_LIST_COL_TYPE 7019
#define IDS_LIST_COL_PATH 7020
#define IDS_LIST_TYPE_BMP 7021
#define IDS_LIST_TYPE_AVI 7022
#define IDS_LIST_TYPE_JPG 7023
#define IDS_ALBUM_LIST_FULL 7024

// The file list's file commands: the properties and rename dialogs, the
// import dialog's panel, and their messages and dialog texts.
#define IDD_IMAGE_PROPERTIES 175
#define IDD_IMPORT_PANEL 183
#define IDD_IMAGE_RENAME 184
#define IDC_PROP_TYPE 1230
#define IDC_PROP_LOCATION 1231
#define IDC_PROP_SIZE 1232
#define IDC_PROP_CREATED 1233
#define IDC_PROP_MODIFIED 1234
#define IDC_PROP_ACCESSED 1235
#define IDC_PROP_WIDTH 1236
#define IDC_PROP_HEIGHT 1237
#define IDC_IMPORT_LINE 1059
#define IDC_IMPORT_TO_LABEL 1060
#define IDC_IMPORT_ALBUMS 1061
#define IDC_IMPORT_PREVIEW 1062
#define IDC_IMPORT_TICK 1142
#define IDS_FILE_DELETE_ASK 7030
#define IDS_FILE_DELETE_CAPTION 7031
#define IDS_FILE_MOVE_EXISTS 7032  // the file's name as %s
#define IDS_FILE_MOVE_CAPTION 7033
#define IDS_FILE_MOVE_FAILED 7034
#define IDS_FILE_IMPORT_EXISTS 7035
#define IDS_FILE_IMPORT_FAILED 7036
#define IDS_FILE_INFO_FAILED 7037
#define IDS_FILE_PROPERTIES_TITLE 7038  // follows the file's name
#define IDS_FILE_KIND_IMAGE 7039
#define IDS_FILE_KIND_VIDEO 7040
#define IDS_SAVE_IMAGE_AS_TITLE 7041  // followed by the file's name
#define IDS_SAVE_VIDEO_AS_TITLE 7042  // followed by the file's name
#define IDS_SAVE_VIDEO_FILTER 7043
#define IDS_IMPORT_TITLE 7044
#define IDS_IMPORT_FILTER 7045
#define IDS_PREVIEW_LOAD_FAILED 7046

// Capture window: the capture view's controls, tool tips and button faces,
// the countdown dialog and its digits.
#define IDB_SETTINGS_BUTTON 170
#define IDB_FACE_IMAGE_EN 262
#define IDB_FACE_VIDEO_EN 263
#define IDD_COUNTDOWN 277
#define IDB_FACE_VIDEO_ZH_TW 280
#define IDB_FACE_IMAGE_ZH_TW 281
#define IDB_FACE_VIDEO_ZH_CN 282
#define IDB_FACE_IMAGE_ZH_CN 283
#define IDB_DIGIT_0 285  // digits 0 to 9: 285 to 294
#define IDC_ANIMATE 1000
#define IDC_VIDEO_BUTTON 1005
#define IDC_IMAGE_BUTTON 1006
#define IDC_SETTINGS_BUTTON 1007
#define IDC_RECORD_STATUS 1008
#define IDC_RECORD_BUTTON 1141
#define IDC_COUNT_TENS 1172
#define IDC_COUNT_UNITS 1173
#define IDS_TIP_STOP_RECORDING 57351
#define IDS_TIP_CAPTURE_VIDEO 57352
#define IDS_TIP_CAPTURE_IMAGE 57353
#define IDS_TIP_SETTINGS 57354
#define IDS_JPEG_MODULE_MISSING 57406

// Recording: the animation shown over the Record button.
#define IDR_RECORDING_ANIMATION 276
#define IDS_CLIP_TOO_LONG 57409
#define IDS_DISK_SPACE_LOW 57413
#define IDS_RECORDING_ERROR 57414
#define IDS_CLIPS_REPAIRED 57470  // the repaired clips' names as %s, one per line
#define IDS_TIME_REMAINING 57420  // the status text while recording
#define IDS_TIME_CAPTURED 57421

// Camera presence: the notices when it goes and comes back.
#define IDS_DEVICE_PLUGGED_OUT 57407
#define IDS_DEVICE_PLUGGED_IN 57408

// Editing and video modes: the main frame's editing and video toolbars with
// their button images, the video frame's icon, the button texts, the window
// titles and the help notice.
#define IDR_EDIT_TOOLS 185
#define IDR_VIDEO_TOOLS 216
#define IDB_EDIT_TOOLS 237      // an editable picture
#define IDB_EDIT_TOOLS_BIG 278  // a picture over the size limit: effects and rotations greyed
#define IDB_VIDEO_TOOLS 218
#define IDI_VIDEO_FRAME 240
#define ID_TB_EDIT_BACK 32862
#define ID_TB_EDIT_OPEN 32864
#define ID_TB_EDIT_SAVE 32865
#define ID_TB_EDIT_BRIGHTNESS 32866
#define ID_TB_EDIT_CONTRAST 32867
#define ID_TB_EDIT_SHARPNESS 32868
#define ID_TB_EDIT_MOSAIC 32869
#define ID_TB_EDIT_CONCAVECON 32870
#define ID_TB_EDIT_ROTATE_CCW 32871
#define ID_TB_EDIT_ROTATE_CW 32872
#define ID_TB_EDIT_ZOOM_IN 32873
#define ID_TB_EDIT_ZOOM_OUT 32874
#define ID_TB_EDIT_FIT_IN_WINDOW 32875
#define ID_TB_EDIT_ONE_TO_ONE 32876
#define ID_TB_EDIT_PRINT 32877
// Shares its number with ID_IMAGE_SAVE_AS of the album file list: the album
// window is closed whenever the editing toolbar is up.
#define ID_TB_EDIT_NEXT 32968
#define ID_TB_EDIT_PREV 32969
#define ID_TB_VIDEO_BACK 32914
#define ID_TB_VIDEO_OPEN 32915
#define ID_TB_VIDEO_SAVE 32916
#define ID_TB_VIDEO_PREV 32917
#define ID_TB_VIDEO_NEXT 32918
// Listed by the video toolbar after its five buttons, without images or
// handlers.
#define ID_TB_VIDEO_SPARE_1 32919
#define ID_TB_VIDEO_SPARE_2 32920
#define ID_TB_VIDEO_SPARE_3 32921
#define ID_TB_VIDEO_SPARE_4 32922
#define ID_TB_VIDEO_SPARE_5 32923
#define ID_TB_VIDEO_SPARE_6 32924
#define ID_TB_VIDEO_SPARE_7 32925
#define ID_TB_VIDEO_SPARE_8 32926
#define ID_TB_VIDEO_SPARE_9 32927
#define ID_TB_VIDEO_SPARE_10 32928
#define ID_TB_VIDEO_SPARE_11 32929
#define ID_TB_VIDEO_SPARE_12 32930
#define IDS_TB_BACK 57346
#define IDS_TB_EDIT_PREV 57347
#define IDS_TB_EDIT_NEXT 57348
#define IDS_TB_VIDEO_PREV 57349
#define IDS_TB_VIDEO_NEXT 57350
#define IDS_EDITING_TITLE 57359        // followed by the file name and ")"
#define IDS_VIDEO_PLAYING_TITLE 57360  // followed by the file name and ")"
#define IDS_HELP_MISSING 57398

// The picture editor: the full-screen view, the editor's messages, and the
// texts of its file dialogs and of a failed save.
#define IDD_FULL_SCREEN 268
#define IDS_TRANSFORM_MODULE_FAILED 57373
#define IDS_FIRST_FILE 57390
#define IDS_LAST_FILE 57391
#define IDS_FORMAT_NOT_SUPPORTED 57392
#define IDS_ASK_SAVE_MODIFIED 57399
#define IDS_SAVING_COMPLETE 57400
#define IDS_TRANSFORM_MODULE_MISSING_SAVE 57401
#define IDS_PICTURE_TOO_BIG 57402  // width and height as %d
#define IDS_SAVE_FAILED 57440      // the target as %s
#define IDS_SAVE_IMAGE_TITLE 57441
#define IDS_SAVE_IMAGE_FILTER 57442
#define IDS_OPEN_FILE_TITLE 57443
#define IDS_OPEN_FILE_FILTER 57444

// Toolbar resource type.
#define RT_LUMORA_TOOLBAR 241

// Capture settings: the Settings dialog with its frame and window lists, the
// still and clip settings dialogs, the duration arrows and their texts.
#define IDD_CAPTURE_SETTINGS 171
#define IDD_IMAGE_SETTINGS 172
#define IDD_VIDEO_SETTINGS 173
#define IDB_DURATION_UP 193
#define IDB_DURATION_DOWN 212
#define IDC_DEVICE_FRAME_LIST 1012
#define IDC_WINDOW_LIST 1013
#define IDC_IMAGE_SETTINGS 1014
#define IDC_VIDEO_SETTINGS 1015
#define IDC_ADVANCE_SETTINGS 1016
#define IDC_SETTINGS_OK 1017
#define IDC_SETTINGS_CANCEL 1018
#define IDC_DELAY_TIME 1020
#define IDC_SAVE_BMP 1026
#define IDC_SAVE_JPEG 1027
#define IDC_FRAME_RATE 1029
#define IDC_CAPTURE_DURING_TIME 1033
#define IDC_DURATION 1065
#define IDC_DURATION_UP 1066
#define IDC_DURATION_DOWN 1067
#define IDC_SET_COMPRESS 1158
#define IDC_CAPTURE_AUDIO 1159
// Labels and groups, placed by pixel when the dialogs open.
#define IDC_DELAY_LABEL 1210
#define IDC_DELAY_UNIT 1211
#define IDC_IMAGE_FORMAT_GROUP 1212
#define IDC_VIDEO_GROUP 1213
#define IDC_FRAME_RATE_LABEL 1214
#define IDC_FRAME_RATE_UNIT 1215
#define IDC_DURATION_UNIT 1216
#define IDC_FRAME_LABEL 1217
#define IDC_WINDOW_LABEL 1218
#define IDS_DELAY_TOO_LONG 57450
#define IDS_DEVICE_DISCONNECTED 57451
#define IDS_COMPRESSION_SETTINGS 57452  // the compressor dialog's title

// Video display: its form with the player control, and its texts.
#define IDD_VIDEO_DISPLAY 214
#define IDC_MEDIA_PLAYER 1072
#define IDS_VIDEO_FIRST_FILE 57430
#define IDS_VIDEO_LAST_FILE 57431
#define IDS_VIDEO_WRONG_FILE 57432
#define IDS_VIDEO_OPEN_TITLE 57433
#define IDS_VIDEO_OPEN_FILTER 57434  // "|" between the parts
#define IDS_VIDEO_SAVE_TITLE 57435
#define IDS_VIDEO_SAVE_FILTER 57436  // "|" between the parts
#define IDS_VIDEO_MAIN_TITLE 57437   // followed by the file name and ")"
#define IDS_VIDEO_CANNOT_PLAY 57438

// Printing and e-mail: the print preview dialog, the print job's texts and
// the messages of the album's Print and E-mail commands.
#define IDD_PRINT_PREVIEW 239
#define IDC_PRINT_PREVIEW_PRINT 1123
#define IDC_PRINT_PREVIEW_FRAME 1125
#define IDS_MAIL_PROGRAM_MISSING 57397
#define IDS_SELECT_A_FILE 57415
#define IDS_SELECT_AN_IMAGE 57480
#define IDS_PRINT_FAILED 57481
#define IDS_PRINT_TO_FILE_NAME 61510
#define IDS_PRINT_TO_FILE_FILTER 61511
#define IDS_PRINT_TO_FILE_TITLE 61512
#define IDS_PRINT_START_FAILED 61702
