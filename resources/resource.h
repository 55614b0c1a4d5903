// Resource ids of tolvi.exe, shared by tolvi.rc and the shell.
#pragma once

#define IDR_MAINMENU 101

#define IDM_START 40001
#define IDM_ABOUT 40002
#define IDM_VERSION 40003
#define IDM_QUIT 40004
#define IDM_CHANGE_USER 40005
#define IDM_HIGHSCORE 40006
#define IDM_PROGRESS 40007

#define IDD_HIGHSCORE 105
#define IDD_TYPING 106
#define IDD_RESULT 107
#define IDD_VERSION 109
#define IDD_NAME 110
#define IDD_ABOUT 113
#define IDD_PROGRESS 115

#define IDB_TITLE 111
#define IDI_TOLVI 114

#define IDS_NO_SENTENCES 201

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDC_NAME_ENTRY 1001

#define IDC_TYPING_SENTENCE 1004
#define IDC_TYPING_LABEL 1005
#define IDC_TYPING_INPUT 1006

// The result dialog's outcomes are its button ids: 1 OK, 2 Cancel, 3 HighScore, 4 Retry.
#define IDC_RESULT_HIGHSCORE 3
#define IDC_RESULT_RETRY 4
#define IDC_RESULT_NAME 1007
#define IDC_RESULT_SPEED 1008
#define IDC_RESULT_LENGTH 1010

// Rank r shows its name in IDC_HS_NAME1 + 2 (r - 1) and its score in the id after it.
#define IDC_HS_NAME1 1002
#define IDC_HS_SCORE1 1003
#define IDC_HS_NAME2 1004
#define IDC_HS_SCORE2 1005
#define IDC_HS_NAME3 1006
#define IDC_HS_SCORE3 1007
#define IDC_HS_NAME4 1008
#define IDC_HS_SCORE4 1009
#define IDC_HS_NAME5 1010
#define IDC_HS_SCORE5 1011
#define IDC_HS_NAME6 1012
#define IDC_HS_SCORE6 1013
#define IDC_HS_NAME7 1014
#define IDC_HS_SCORE7 1015
#define IDC_HS_NAME8 1016
#define IDC_HS_SCORE8 1017
#define IDC_HS_NAME9 1018
#define IDC_HS_SCORE9 1019
#define IDC_HS_NAME10 1020
#define IDC_HS_SCORE10 1021

// The progress window: its chart, then row r's value in IDC_PROGRESS_GAMES + r beside its
// label, and two notes.
#define IDC_PROGRESS_CHART 1030
#define IDC_PROGRESS_GAMES 1031
#define IDC_PROGRESS_BEST 1032
#define IDC_PROGRESS_RECENT 1033
#define IDC_PROGRESS_EARLIER 1034
#define IDC_PROGRESS_TIME 1035
#define IDC_PROGRESS_MISSES 1036
#define IDC_PROGRESS_MISSED 1037
#define IDC_PROGRESS_PERIOD 1038
#define IDC_PROGRESS_EMPTY 1039
#define IDC_PROGRESS_SKIPPED 1040
