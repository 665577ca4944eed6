// Numeric resource ids of the program: dialogs, controls, icons, menus and commands.
#pragma once

inline constexpr int IDR_MAINFRAME = 128;  // the application icon

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_VISTREL_DIALOG = 102;

// The about box's system command; no menu item carries it.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

inline constexpr int IDC_STATIC_PREVIEW = 1001;
inline constexpr int IDC_BTN_OPEN_FOLDER = 1002;
inline constexpr int IDC_BTN_RECORD_START = 1003;
inline constexpr int IDC_STATIC_SNAPSHOT = 1004;
inline constexpr int IDC_BTN_RECORD_STOP = 1005;
inline constexpr int IDC_BTN_SNAPSHOT = 1006;
inline constexpr int IDC_BTN_HELP = 1007;
inline constexpr int IDC_STATIC_STATUS = 1009;
inline constexpr int IDC_STATIC_RECORDING = 1011;
inline constexpr int IDC_STATIC_SCREENSAVER = 1017;

// The control bar.
inline constexpr int IDD_CONTROL_BAR = 129;
inline constexpr int IDC_BAR_PREVIEW = 1000;
inline constexpr int IDC_BAR_OPEN_FOLDER = 1001;
inline constexpr int IDC_BAR_RECORD_START = 1002;
inline constexpr int IDC_BAR_RECORD_STOP = 1003;
inline constexpr int IDC_BAR_SNAPSHOT = 1004;
inline constexpr int IDC_BAR_HELP = 1005;
inline constexpr int IDC_BAR_STATUS = 1006;

// The context menu on the preview and its commands.
inline constexpr int IDR_CONTEXT_MENU = 130;
inline constexpr unsigned ID_CAM_SETTING = 32771;
inline constexpr unsigned ID_VIDEO_EFFECTS = 32772;
inline constexpr unsigned ID_DEVICE_SETTINGS = 32773;
inline constexpr unsigned ID_SET_SAVE_PATH = 32774;
inline constexpr unsigned ID_FULL_SCREEN = 32775;

// The resolution and device settings dialog.
inline constexpr int IDD_DEVICE_SETTINGS = 131;
inline constexpr int IDC_DEVICE_RESOLUTION_LABEL = 1015;
inline constexpr int IDC_DEVICE_RESOLUTION = 1014;
inline constexpr int IDC_DEVICE_AUDIO_LABEL = 1016;
inline constexpr int IDC_DEVICE_VIDEO = 1017;
inline constexpr int IDC_DEVICE_AUDIO = 1018;
inline constexpr int IDC_DEVICE_OK = 1019;
inline constexpr int IDC_DEVICE_CANCEL = 1020;

// The save path dialog.
inline constexpr int IDD_SET_SAVE_PATH = 133;
inline constexpr int IDC_SAVE_IMAGE_LABEL = 1009;
inline constexpr int IDC_SAVE_VIDEO_LABEL = 1010;
inline constexpr int IDC_SAVE_IMAGE_PATH = 1021;
inline constexpr int IDC_SAVE_VIDEO_PATH = 1022;
inline constexpr int IDC_SAVE_BROWSE_IMAGE = 1023;
inline constexpr int IDC_SAVE_BROWSE_VIDEO = 1024;

// The video effects dialog.
inline constexpr int IDD_VIDEO_EFFECTS = 134;
inline constexpr int IDC_EFFECT_HOR_LABEL = 1011;
inline constexpr int IDC_EFFECT_VER_LABEL = 1012;
inline constexpr int IDC_EFFECT_BW_LABEL = 1013;
inline constexpr int IDC_EFFECT_SEPIA_LABEL = 1014;
inline constexpr int IDC_EFFECT_IMAGE_GROUP = 1015;
inline constexpr int IDC_EFFECT_COLOR_GROUP = 1016;
inline constexpr int IDC_EFFECT_RED = 1027;
inline constexpr int IDC_EFFECT_BLUE = 1028;
inline constexpr int IDC_EFFECT_GREEN = 1029;
inline constexpr int IDC_EFFECT_BW = 1031;
inline constexpr int IDC_EFFECT_SEPIA = 1032;
inline constexpr int IDC_EFFECT_HOR_MIRROR = 1033;
inline constexpr int IDC_EFFECT_VER_MIRROR = 1034;
