/* The ids of the program's resources, shared by the resource script (windres
   runs it through the C preprocessor) and the code. Only #defines, so both
   can read it. One name per resource. */
#pragma once

/* Strings */
#define IDS_APP_TITLE 1
#define IDS_CLASS_NAME 3
#define IDS_TOOLS 104
#define IDS_SET_TIME 302           /* "Set time to %d:%02d" */
#define IDS_SET_TIME_FROM_NOW 303  /* "Set time to %d:%02d from now" */
#define IDS_SET_TIME_IN_PAST 304   /* "Set time to %d:%02d in the past" */
#define IDS_VERSION 305
#define IDS_NOTICE 306
#define IDS_SCORE 307
#define IDS_HOUR 308
#define IDS_MINUTE 309
/* What a screen reader says (the page's live region) */
#define IDS_SAY_RIGHT 310          /* "Right!" */
#define IDS_SAY_WRONG_HOUR 311     /* "Try again: the hour hand is wrong." */
#define IDS_SAY_WRONG_MINUTE 312
#define IDS_SAY_WRONG_BOTH 313
#define IDS_SAY_SCORE 314          /* "Score: %d." */
#define IDS_SAY_LEVEL 315          /* "Level %d." */
#define IDS_SAY_AUTOMATIC_ON 316
#define IDS_SAY_AUTOMATIC_OFF 317

/* Accelerators and the commands they send (nothing handles them) */
#define IDR_ACCELERATORS 3
#define IDM_QUIT 1
#define IDM_LEVEL 40003

/* Icon, menu and dialog */
#define IDI_HORALIA 101
#define IDR_MENU 102
#define IDD_DIALOG 103

/* Bitmaps */
#define IDB_LEVEL_MARKER 118
#define IDB_MENU_BUTTON 120
#define IDB_TICK 122
#define IDB_LEVEL_BACKGROUND 123
#define IDB_OK_BUTTON 124
#define IDB_RESET_BUTTON 125
#define IDB_TITLE 127
#define IDB_GAME_BACKGROUND 138
#define IDB_ARROW_DOWN 139
#define IDB_ARROW_UP 140
#define IDB_CHECK_BUTTON 141
#define IDB_EXIT_ICON 148
#define IDB_GAME_CAPTION 149   /* the game picture's words, laid over it */
#define IDB_TITLE_CAPTION 150  /* the title picture's words, laid over it */

/* Sounds (WAVE resources) */
#define IDW_CLICK 20000
#define IDW_LEVEL_UP 20002
#define IDW_SWITCH 20003
#define IDW_RIGHT 20004
#define IDW_WRONG 20005
#define IDW_OPENING 20006
