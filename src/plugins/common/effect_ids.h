#pragma once
// Resource and control identifiers shared by the five effect plug-ins and
// their resource scripts (so: #define lines only).

// Descriptor strings: the effect id, name, description, bitmap id and entry
// name that a host reads, two line breaks, and edgefx's registry key.
#define IDS_EFFECT_ID 1
#define IDS_EFFECT_NAME 2
#define IDS_EFFECT_DESCRIPTION 3
#define IDS_EFFECT_BITMAP 4
#define IDS_EFFECT_ENTRY 5
#define IDS_LINE_BREAK_1 6
#define IDS_LINE_BREAK_2 7
#define IDS_REGISTRY_KEY 8

// The channel box's items, in their order.
#define IDS_CHANNEL_RGB 101
#define IDS_CHANNEL_RED 102
#define IDS_CHANNEL_GREEN 103
#define IDS_CHANNEL_BLUE 104

#define IDB_EFFECT 2000

// litefx and tonefx; edgefx, tilefx and warpfx.
#define IDD_TONE_EFFECT 1000
#define IDD_SPATIAL_EFFECT 1005

#define IDC_PREVIEW 1010
#define IDC_CHANNEL 1011
#define IDC_SLIDER 1012
#define IDC_MINUS 1013
#define IDC_PLUS 1014
#define IDC_PROCESS 1015
