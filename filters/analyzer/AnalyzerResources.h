// Resource ids of the analyzer module (dialog of the property page, strings).
#pragma once

#define IDD_ANALYZER_PROPERTY 102
#define IDS_ANALYZER_PAGE_TITLE 1015

#define IDC_LEFT_BAND_FIRST 1013    // 30 bars, 1013 to 1042
#define IDC_RIGHT_BAND_FIRST 1043   // 30 bars, 1043 to 1072
#define IDC_RIGHT_LEVEL_BAR 1073
#define IDC_LEFT_LEVEL_BAR 1074
#define IDC_LEFT_LEVEL_TEXT 1075
#define IDC_CHANNELS 1076
#define IDC_RIGHT_LEVEL_TEXT 1077
#define IDC_SAMPLE_RATE 1078
#define IDC_BITS 1080
#define IDC_GAIN_SLIDER 1081
#define IDC_GAIN_TEXT 1082
#define IDC_SAMPLE_TIME 1083
#define IDC_GAIN_ENABLE 1086
#define IDC_MUTE_TIME 1089
#define IDC_MUTE_BUTTON 1090
