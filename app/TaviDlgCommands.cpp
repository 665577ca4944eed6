// The main window's picture buttons that send commands.
#include "AppMessages.h"
#include "DiagnosticLog.h"
#include "StillCapture.h"
#include "TaviDlg.h"
#include "platform/Platform.h"
#include "resources/ResourceIds.h"

namespace {

// The help viewer window a help request brings back rather than opening the document again.
constexpr const wchar_t* kHelpViewerClass = L"HH Parent";
constexpr const wchar_t* kHelpViewerTitle = L"Vistrel";
// HTML: every desktop has a viewer for it.
constexpr const wchar_t* kHelpFile = L"Help.html";

}  // namespace

void CTaviDlg::OnBnClickedSnapshot() {
    if (CWnd* notice = GetDlgItem(IDC_STATIC_SCREENSAVER)) notice->ShowWindow(SW_HIDE);
    if (g_bDisableDuringSnapshot) EnableWindow(FALSE);
    SendMessage(WM_CONTROL_COMMAND, CONTROL_SNAPSHOT, 0);
    UpdateButtonTips();
}

void CTaviDlg::OnBnClickedOpenFolder() {
    SendMessage(WM_CONTROL_COMMAND, CONTROL_OPEN_FOLDER, 0);
    UpdateButtonTips();
}

void CTaviDlg::OnBnClickedHelp() {
    UpdateButtonTips();
    auto& shell = platform::Current().Shell();
    if (auto viewer = shell.FindViewerWindow(kHelpViewerClass, kHelpViewerTitle)) {
        shell.ShowViewerWindow(viewer->id, viewer->minimized);
        return;
    }
    // The desktop's own handler for the help document; a missing document opens nothing.
    const std::wstring folder = g_strExeFolder + platform::kPathSeparator + L"Res" + platform::kPathSeparator;
    (void)shell.Open(folder + kHelpFile);
}
