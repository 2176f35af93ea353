/* Identifiers shared by the resource script and the Win32 shell. */
#ifndef VOP_RESOURCE_IDS_H
#define VOP_RESOURCE_IDS_H

/* Menu commands of "MainMenu" */
#define IDM_FILE_OPEN 57601
#define IDM_FILE_CLOSE 57602
#define IDM_FILE_SAVE 57603
#define IDM_FILE_EXIT 40005
#define IDM_SEARCH_FIND 40002
#define IDM_SEARCH_REPLACE 40010
#define IDM_SEARCH_GOTO 40013
#define IDM_OPTIONS_COLORS 40004
#define IDM_OPTIONS_FONTS 40012
#define IDM_HELP_KEYS 40011
#define IDM_HELP_ABOUT 40003

/* The system-menu item "Optimal Size" */
#define IDM_OPTIMAL_SIZE 100

/* Modify dialog: the static that shows the caret address */
#define IDC_MODIFY_ADDRESS 1008

/* Replace dialog: the check box "Replace all" */
#define IDC_REPLACE_ALL 1012

/* Font dialog: the caret shape, the three sizes and the two font types */
#define IDC_FONT_BLOCK_CARET 1012
#define IDC_FONT_NORMAL 1015
#define IDC_FONT_DOUBLE 1016
#define IDC_FONT_QUAD 1017
#define IDC_FONT_ASCII 1018
#define IDC_FONT_HEX 1019

/* The labels of the entry fields, in the order of their fields: the
   dialogs place each field right after its label */
#define IDC_LABEL_FIRST 1030

/* The About picture */
#define IDR_ABOUT_PICTURE 122

#endif
