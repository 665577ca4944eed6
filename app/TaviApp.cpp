#include "TaviApp.h"

#include "AppMessages.h"
#include "TaviDlg.h"
#include "platform/Platform.h"

BOOL CTaviApp::InitInstance() {
    auto& instance = platform::Current().Instance();
    auto lock = instance.AcquireSingleInstance(kInstanceName);
    if (!lock) {
        // Another start is running: tell it (it does nothing about it) and show nothing.
        (void)instance.AnnounceToRunningInstance(kInstanceName);
        return FALSE;
    }
    // The running instance hears of second starts and ignores them.
    instance.SetAnnouncementHandler([](std::wstring_view) {});

    SetRegistryKey(L"Local AppWizard-Generated Applications");
    {
        CTaviDlg dlg;
        m_pMainWnd = &dlg;
        (void)dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    instance.SetAnnouncementHandler({});
    return FALSE;
}
