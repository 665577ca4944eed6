#include "resources/SettingsDialogs.h"

#include "resources/ResourceIds.h"

namespace {

constexpr DWORD kSettingsStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kLabel = SS_LEFT | WS_VISIBLE;
constexpr DWORD kList = CBS_DROPDOWNLIST | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE;
constexpr DWORD kGroup = BS_GROUPBOX | WS_VISIBLE;

// The lists are unsorted: a position in them is a position in the main window's device lists.
const DialogTemplate kDeviceSettings{
    IDD_DEVICE_SETTINGS,
    L"Resolution and Device Settings",
    kSettingsStyle,
    179,
    143,
    {
        {IDC_DEVICE_RESOLUTION_LABEL, L"Static", kLabel, 14, 10, 151, 8, L"Resolution"},
        {IDC_DEVICE_RESOLUTION, L"ComboBox", kList, 14, 21, 151, 14, L""},
        {IDC_STATIC, L"Static", kLabel, 14, 43, 151, 8, L"Video Device"},
        {IDC_DEVICE_VIDEO, L"ComboBox", kList, 14, 54, 151, 14, L""},
        {IDC_DEVICE_AUDIO_LABEL, L"Static", kLabel, 14, 76, 151, 8, L"Audio Device"},
        {IDC_DEVICE_AUDIO, L"ComboBox", kList, 14, 87, 151, 14, L""},
        {IDC_DEVICE_OK, L"Button", kPush, 30, 117, 54, 15, L"OK"},
        {IDC_DEVICE_CANCEL, L"Button", kPush, 95, 117, 54, 15, L"Cancel"},
    },
};

// Each tone and mirror box has no text of its own: its label beside it carries the translation.
const DialogTemplate kVideoEffects{
    IDD_VIDEO_EFFECTS,
    L"Video Effects",
    kSettingsStyle,
    130,
    153,
    {
        {IDC_EFFECT_IMAGE_GROUP, L"Button", kGroup, 5, 4, 120, 46, L"Image Mode"},
        {IDC_EFFECT_HOR_MIRROR, L"Button", kCheck, 12, 18, 10, 10, L""},
        {IDC_EFFECT_HOR_LABEL, L"Static", kLabel, 24, 19, 99, 8, L"Horizontal Mirror"},
        {IDC_EFFECT_VER_MIRROR, L"Button", kCheck, 12, 33, 10, 10, L""},
        {IDC_EFFECT_VER_LABEL, L"Static", kLabel, 24, 34, 99, 8, L"Vertical Mirror"},
        {IDC_EFFECT_COLOR_GROUP, L"Button", kGroup, 5, 54, 120, 74, L"Color Mode"},
        {IDC_EFFECT_BW, L"Button", kCheck, 12, 68, 10, 10, L""},
        {IDC_EFFECT_BW_LABEL, L"Static", kLabel, 24, 69, 99, 8, L"Black and White"},
        {IDC_EFFECT_SEPIA, L"Button", kCheck, 12, 83, 10, 10, L""},
        {IDC_EFFECT_SEPIA_LABEL, L"Static", kLabel, 24, 84, 99, 8, L"Sepia"},
        {IDC_STATIC, L"Button", kGroup, 12, 96, 106, 26, L""},
        {IDC_EFFECT_RED, L"Button", kCheck, 20, 106, 26, 10, L"R"},
        {IDC_EFFECT_GREEN, L"Button", kCheck, 53, 106, 26, 10, L"G"},
        {IDC_EFFECT_BLUE, L"Button", kCheck, 86, 106, 26, 10, L"B"},
        {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 38, 133, 54, 15, L"OK"},
        {IDCANCEL, L"Button", BS_PUSHBUTTON | WS_TABSTOP, 38, 133, 54, 15, L"Cancel"},
    },
};

// The folder fields are read-only: a folder reaches them only through the browser.
const DialogTemplate kSetSavePath{
    IDD_SET_SAVE_PATH,
    L"Set Save Path",
    kSettingsStyle,
    223,
    137,
    {
        {IDC_SAVE_IMAGE_LABEL, L"Static", kLabel, 12, 12, 199, 8, L"Image Save Path"},
        {IDC_SAVE_IMAGE_PATH, L"Edit", ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 12, 24, 142, 14, L""},
        {IDC_SAVE_BROWSE_IMAGE, L"Button", kPush, 159, 24, 52, 14, L"Browse"},
        {IDC_SAVE_VIDEO_LABEL, L"Static", kLabel, 12, 50, 199, 8, L"Video Save Path"},
        {IDC_SAVE_VIDEO_PATH, L"Edit", ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 12, 62, 142, 14, L""},
        {IDC_SAVE_BROWSE_VIDEO, L"Button", kPush, 159, 62, 52, 14, L"Browse"},
        {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 52, 109, 54, 15, L"OK"},
        {IDCANCEL, L"Button", kPush, 117, 109, 54, 15, L"Cancel"},
    },
};

// The context menu on the preview; the program sets the shown texts from the catalogue.
platform::MenuItem Item(unsigned id, const wchar_t* text) { return {int(id), text, false, false, {}}; }

const MenuTemplate kContextMenu{
    IDR_CONTEXT_MENU,
    {{0, L"Popup", false, false,
      {Item(ID_CAM_SETTING, L"Cam Setting"), Item(ID_VIDEO_EFFECTS, L"Video Effects"),
       Item(ID_DEVICE_SETTINGS, L"Resolution and Device Settings"), Item(0, L""), Item(ID_SET_SAVE_PATH, L"Set Save Path")}}},
};

}  // namespace

const DialogTemplate& DeviceSettingsTemplate() { return kDeviceSettings; }
const DialogTemplate& VideoEffectsTemplate() { return kVideoEffects; }
const DialogTemplate& SetSavePathTemplate() { return kSetSavePath; }
const MenuTemplate& ContextMenuTemplate() { return kContextMenu; }
