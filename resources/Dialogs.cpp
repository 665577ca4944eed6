#include "resources/Dialogs.h"

#include "resources/ResourceIds.h"
#include "resources/SettingsDialogs.h"

namespace {

// Control texts here are placeholders: the program sets every visible text at run time.
const DialogTemplate kMainDialog{
    IDD_VISTREL_DIALOG,
    L"Vistrel",
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
    426,
    321,
    {
        {IDC_STATIC_PREVIEW, L"Static", SS_BLACKRECT | WS_BORDER | WS_VISIBLE, 0, 0, 425, 294, L""},
        {IDC_STATIC_SNAPSHOT, L"Static", SS_BLACKRECT, 277, 58, 44, 27, L""},
        {IDC_BTN_OPEN_FOLDER, L"Button", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 155, 299, 22, 15, L""},
        {IDC_BTN_RECORD_START, L"Button", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 203, 299, 22, 15, L""},
        {IDC_BTN_RECORD_STOP, L"Button", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 203, 299, 22, 15, L""},
        {IDC_BTN_SNAPSHOT, L"Button", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 248, 299, 22, 15, L""},
        {IDC_BTN_HELP, L"Button", BS_OWNERDRAW | WS_TABSTOP | WS_VISIBLE, 293, 299, 22, 15, L""},
        {IDC_STATIC_STATUS, L"Static", SS_LEFT | WS_VISIBLE, 7, 297, 85, 8, L"Static"},
        {IDC_STATIC_RECORDING, L"Static", SS_LEFT | WS_VISIBLE, 7, 310, 94, 8, L"Static"},
        {IDC_STATIC_SCREENSAVER, L"Static", SS_LEFT | WS_VISIBLE, 3, 297, 84, 14, L"Static"},
    },
};

// The control bar: no caption, no border, hidden. Its controls sit about where the layout of a
// size change would put them (it never has one: nothing shows or sizes the bar).
constexpr DWORD kBarButton = BS_OWNERDRAW | WS_VISIBLE;
const DialogTemplate kControlBar{
    IDD_CONTROL_BAR,
    L"",
    DS_SETFONT | WS_POPUP,
    382,
    31,
    {
        {IDC_BAR_OPEN_FOLDER, L"Button", kBarButton, 123, 5, 19, 20, L""},
        {IDC_BAR_PREVIEW, L"Button", kBarButton, 155, 5, 19, 20, L""},
        {IDC_BAR_RECORD_START, L"Button", kBarButton, 188, 5, 19, 20, L""},
        {IDC_BAR_RECORD_STOP, L"Button", kBarButton, 188, 5, 19, 20, L""},
        {IDC_BAR_SNAPSHOT, L"Button", kBarButton, 221, 5, 19, 20, L""},
        {IDC_BAR_HELP, L"Button", kBarButton, 253, 5, 19, 20, L""},
        {IDC_BAR_STATUS, L"Static", SS_LEFT | WS_VISIBLE, 78, 4, 46, 6, L""},
    },
};

// The about box shows its template's texts as they are.
const DialogTemplate kAboutDialog{
    IDD_ABOUTBOX,
    L"About Vistrel",
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    170,
    62,
    {
        {IDC_STATIC, L"Static", SS_ICON | WS_VISIBLE, 14, 14, 21, 20, L"#128"},
        {IDC_STATIC, L"Static", SS_LEFT | WS_VISIBLE, 42, 14, 114, 8, L"Vistrel "},
        {IDOK, L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP | WS_VISIBLE, 113, 41, 50, 14, L"OK"},
    },
};

}  // namespace

std::span<const DialogTemplate> ProgramDialogs() {
    // Built at first use: the settings dialogs' templates live in another file.
    static const DialogTemplate dialogs[] = {kMainDialog, kAboutDialog, kControlBar, DeviceSettingsTemplate(), VideoEffectsTemplate(),
                                             SetSavePathTemplate()};
    return dialogs;
}
