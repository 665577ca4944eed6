#include "framework/WinApp.h"

#include "framework/Runtime.h"
#include "framework/Wnd.h"

namespace {
// The one application object of the process, a static object as the program declares it.
CWinApp* g_pApp = nullptr;
}  // namespace

CWinApp::CWinApp(LPCTSTR appName) : m_strAppName(appName ? appName : L"") { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
    InitInstance();
    return ExitInstance();
}

CWinApp* AfxGetApp() { return g_pApp; }

CWnd* AfxGetMainWnd() {
    CWnd* main = g_pApp ? g_pApp->m_pMainWnd : nullptr;
    return main && main->IsWindow() ? main : nullptr;
}

std::wstring AfxGetAppName() {
    if (g_pApp && !g_pApp->m_strAppName.empty()) return g_pApp->m_strAppName;
    if (AfxRuntime::IsRunning()) {
        AfxRuntime& runtime = AfxRuntime::Get();
        if (!runtime.Resources().appTitle.empty()) return std::wstring(runtime.Resources().appTitle);
        std::wstring path = runtime.Platform().Processes().GetModulePath();
        path = path.substr(path.find_last_of(platform::kPathSeparator) + 1);
        return path.substr(0, path.find_last_of(L'.'));
    }
    return L"";
}

int AfxMessageBox(LPCTSTR text, UINT type) {
    // Through the main window, so that it takes no input while the box is up.
    if (CWnd* main = AfxGetMainWnd(); main && main->GetSafeHwnd()) return main->MessageBox(text, nullptr, type);
    return AfxRuntime::Get().Ui().MessageBox(HWND{}, text ? text : L"", AfxGetAppName(), type);
}
