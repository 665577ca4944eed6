#include "TaviApp.h"

#include "AppMessages.h"
#include "TaviDlg.h"
#include "platform/Platform.h"

namespace {

// Someone started the program again, looking for it: the running window comes back from the
// task bar and to the front rather than a second one opening. A window still starting up is
// not shown early: it comes up by itself when ready.
void BringToFront(CWnd* window) {
    if (!window || !window->GetSafeHwnd() || !window->IsWindowVisible()) return;
    if (window->IsIconic()) window->ShowWindow(SW_RESTORE);
    platform::Current().Ui().SetForegroundWindow(window->GetSafeHwnd());
}

}  // namespace

BOOL CTaviApp::InitInstance() {
    auto& instance = platform::Current().Instance();
    auto lock = instance.AcquireSingleInstance(kInstanceName);
    if (!lock) {
        // Another start is running: tell it (it comes to the front) and show nothing.
        (void)instance.AnnounceToRunningInstance(kInstanceName);
        return FALSE;
    }
    instance.SetAnnouncementHandler([](std::wstring_view) { BringToFront(AfxGetMainWnd()); });

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
