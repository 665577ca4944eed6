// System version, the power configuration that allows away mode, capture-device notifications
// and the closing of secondary windows at the end.
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"

int CTaviDlg::CheckOsVersion() {
    m_bNotVista = 1;
    auto version = platform::Current().SystemInfo().GetSystemVersion();
    if (!version || version->platformId != platform::kPlatformWin32Nt) return 0;
    if (version->major == 6 && version->minor == 0) m_bNotVista = 0;
    return 1;
}

void CTaviDlg::EnableAwayModePolicy() {
    // The options are written with an en dash, as the tool accepts them.
    const wchar_t* commands[][5] = {
        {L"powercfg", L"\u2013setdcvalueindex", L"SCHEME_CURRENT", L"SUB_SLEEP", L"25dfa149-5dd1-4736-b5ab-e8a37b5b8187"},
        {L"powercfg", L"\u2013setacvalueindex", L"SCHEME_CURRENT", L"SUB_SLEEP", L"25dfa149-5dd1-4736-b5ab-e8a37b5b8187"},
    };
    auto& processes = platform::Current().Processes();
    for (const auto& command : commands)
        (void)processes.RunHiddenAndWait({command[0], command[1], command[2], command[3], command[4], L"1"});
    (void)processes.RunHiddenAndWait({L"powercfg", L"\u2013setactive", L"SCHEME_CURRENT"});
}

void CTaviDlg::RegisterCaptureNotification() {
    HWND window = m_hWnd;
    m_hDevNotify = platform::Current().Media().RegisterDeviceNotification(
        AM_KSCATEGORY_CAPTURE, [window](const platform::DeviceChange& change) {
            DEV_BROADCAST_DEVICEINTERFACE broadcast;
            broadcast.dbcc_classguid = change.interfaceClass;
            broadcast.dbcc_name = change.name;
            WPARAM event = change.kind == platform::DeviceChange::Kind::Arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
            ::SendMessage(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&broadcast));
        });
}

void CTaviDlg::CloseSecondaryWindows() {
    const std::wstring titles[] = {GetCatalogueText(6018), GetCatalogueText(6019), GetCatalogueText(6017),
                                   L"Camera Properties"};
    for (const std::wstring& title : titles) {
        if (HWND window = ::FindWindow(nullptr, title.c_str())) ::PostMessage(window, WM_CLOSE, 0, 0);
    }
}
