// Command identifiers and resource numbers, shared by the C++ code and the
// resource script (so plain #defines that windres understands).
#pragma once

// File popup
#define IDM_FILE_NEW 1001
#define IDM_FILE_OPEN 1002
#define IDM_FILE_SAVE 1003
#define IDM_FILE_SAVEAS 1004
#define IDM_FILE_PRINTSETUP 1005
#define IDM_FILE_PRINT 1006
#define IDM_FILE_EXIT 1007

// Edit popup (the numbers after 1009 really are 10010 and up)
#define IDM_EDIT_UNDO 1008
#define IDM_EDIT_HORIZONTAL 1009
#define IDM_EDIT_VERTICAL 10010
#define IDM_EDIT_FONT 10011
#define IDM_ALIGN_CENTER 10012
#define IDM_ALIGN_LEFT 10013
#define IDM_ALIGN_RIGHT 10014
#define IDM_EDIT_COPY 10015
#define IDM_EDIT_CUT 10016
#define IDM_EDIT_PASTE 10017
#define IDM_EDIT_SELECTALL 10018
#define IDM_BACKCOLOR 10019

// Markup
#define IDM_TAG_CODE 3223
#define IDM_TAG_ITALIC 3224
#define IDM_TAG_COLOR_DIALOG 3225
#define IDM_TAG_QUOTE 3226
#define IDM_TAG_URL 3227
#define IDM_TAG_BOLD 3228
#define IDM_TAG_EMAIL 3229
#define IDM_TAG_SIZE14 3230
#define IDM_TAG_SIZE22 3231
#define IDM_TAG_SIZE30 3232
#define IDM_TAG_POST_LINK 3233
#define IDM_TAG_QUESTION 3234
#define IDM_TAG_WROTE 3235
#define IDM_TAG_CENTER 3236
#define IDM_TAG_HR 3237
#define IDM_TAG_UNDERLINE 3238
#define IDM_TAG_POINTS 3255
#define IDM_OPEN_WEBLINK 3256
#define IDM_COLOR_PRESET_0 4000
#define IDM_PLAIN_FONT 5000
#define IDM_TAG_IMAGE 5001
#define IDM_REFLOW 5002
#define IDM_SMILEY_FIRST 8500

#define SMILEY_COUNT 17
#define COLOR_PRESET_COUNT 9

// Resources
#define IDI_FORUM_EDITOR 1
#define IDB_TOOLBAR_STRIP 3222
#define IDC_TOOLBAR 3223
#define IDB_SMILEY_FIRST 7500
#define IDC_EDITOR 1
