// Identifiers shared by the resource script and the Windows code.
#pragma once

// Commands of the menu and the accelerators.
#define IDM_EXIT        40001
#define IDM_INFO        40004
#define IDM_MAIL        40005
#define IDM_RANKING     40006
#define IDM_SOUND       40007
#define IDM_PREV_STAGE  40008
#define IDM_SPARE       40010
#define IDM_NEXT_STAGE  1005

// Opening dialog.
#define IDC_OPENING_START     1022
#define IDC_OPENING_PROMPT    1023
#define IDC_OPENING_NICKNAME  1024
#define IDC_OPENING_NAME      1025
#define IDC_OPENING_NOTE      1026
#define IDC_OPENING_COPYRIGHT 1027
#define IDC_OPENING_KEYS      1038
#define IDC_OPENING_HOWTO     1039

// Information dialog.
#define IDC_INFO_CLOSE     1000
#define IDC_INFO_COPYRIGHT 1001
#define IDC_INFO_PRODUCT   1002
#define IDC_INFO_AUTHOR    1003
#define IDC_INFO_LOGO      1004

// Sound settings dialog; the six sound buttons are 1021 to 1026.
#define IDC_SOUND_LABEL  1015
#define IDC_SOUND_DONE   1016
#define IDC_SOUND_FIRST  1021

// Goal dialog.
#define IDC_GOAL_KEYS_CAPTION     1029
#define IDC_GOAL_KEYS             1030
#define IDC_GOAL_ACCURACY_CAPTION 1031
#define IDC_GOAL_ACCURACY         1032
#define IDC_GOAL_SECONDS_CAPTION  1033
#define IDC_GOAL_SECONDS          1034
#define IDC_GOAL_PERCHAR_CAPTION  1035
#define IDC_GOAL_PERCHAR          1036
#define IDC_GOAL_NEXT             1037
#define IDC_GOAL_REST             1038
#define IDC_GOAL_HITS_CAPTION     1039
#define IDC_GOAL_HITS             1040
#define IDC_GOAL_PREV             1044

// Ranking dialog; the ranking lines are 7001 to 7005, the history label 40008.
#define IDC_RANK_CLOSE         1011
#define IDC_RANK_KEYS_CAPTION  1042
#define IDC_RANK_HITS_CAPTION  1043
#define IDC_RANK_ACCURACY_CAPTION 1044
#define IDC_RANK_SECONDS_CAPTION  1045
#define IDC_RANK_PERCHAR_CAPTION  1046
#define IDC_RANK_NAME_CAPTION  1047
#define IDC_RANK_FIRST_LINE    7001
#define IDC_RANK_HISTORY_LABEL 40008

#define ELAPSED_TIMER_ID 888
