// The application object: one static instance whose InitInstance runs the program.
#pragma once

#include <string>

#include "framework/Afx.h"

class CWnd;

class CWinApp {
public:
    explicit CWinApp(LPCTSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // Runs InitInstance; the process's exit status.
    int Run();
    void SetRegistryKey(LPCTSTR key) { m_strRegistryKey = key ? key : L""; }

    std::wstring m_strAppName;  // empty: the title string of the resources, else the executable's name
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_strRegistryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
std::wstring AfxGetAppName();
// A message box owned by the main window, captioned with the application's name.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK);
