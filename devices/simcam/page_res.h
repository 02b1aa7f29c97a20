#pragma once
// Resources of the simulated camera's property page (simcam.rc).
#define IDD_PICTURE_PAGE 100
#define IDC_BRIGHTNESS 101
#define IDC_PATTERN 102
#define IDC_BRIGHTNESS_LABEL 103
#define IDC_PATTERN_LABEL 104
