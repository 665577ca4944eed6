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
