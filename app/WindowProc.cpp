// The main window's first look at system messages, before its message map: devices, power,
// sessions, display and screen-saver changes.
#include "Recording.h"
#include "SystemEvents.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"

bool g_bSuspended = false;
bool g_bCameraPresent = true;

namespace {

bool IsCaptureInterface(LPARAM lParam) {
    const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE*>(lParam);
    return device && device->dbcc_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
           device->dbcc_classguid == AM_KSCATEGORY_CAPTURE;
}

}  // namespace

LRESULT CTaviDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DISPLAYCHANGE:
            if (g_bGraphBusy) return 0;
            if (!ControlBarPreviewShown()) TearDownGraph();
            break;
        case WM_SETTINGCHANGE: {
            auto& power = platform::Current().Power();
            if (power.IsScreenSaverActive()) {
                (void)power.SetScreenSaverActive(false, true);
                m_bScreenSaverActive = 1;
            }
            break;
        }
        case WM_DEVICECHANGE:
            if (g_bGraphBusy || g_bSuspended || !IsCaptureInterface(lParam)) return 0;
            if (wParam == DBT_DEVICEARRIVAL) {
                (void)EnumerateDevices();
            } else if (wParam == DBT_DEVICEREMOVECOMPLETE) {
                OnCaptureDeviceRemoved();
            }
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMQUERYSUSPEND) {
                AfxMessageBox(GetCatalogueText(6041).c_str(), MB_ICONEXCLAMATION);
                return BROADCAST_QUERY_DENY;
            }
            if (wParam == PBT_APMSUSPEND) {
                g_bSuspended = true;
                ComPtr<IMediaControl> control;
                if (m_pGraph && SUCCEEDED(m_pGraph.As(control))) (void)control->Pause();
                return 0;
            }
            if (wParam == PBT_APMRESUMEAUTOMATIC) {
                ResumeAfterSuspend();
                return 0;
            }
            break;
        case WM_WTSSESSION_CHANGE:
            if (wParam == WTS_CONSOLE_DISCONNECT) {
                if (!m_bNotVista) {
                    if (m_bRecording)
                        RequestRecordStop();
                    else if (!ControlBarPreviewShown())
                        TearDownGraph();
                }
            } else if (wParam == WTS_CONSOLE_CONNECT) {
                if (ControlBarPreviewShown()) return 0;
                if (!m_pGraph && !m_bRecording) (void)BuildGraph(L"Pause");
            } else if (wParam == WTS_SESSION_LOGOFF) {
                SaveSettings();
                if (m_bRecording) RequestRecordStop();
                EndProgram();
            }
            break;
        default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CTaviDlg::EndProgram() {
    TearDownGraph();
    OnDestroy();
    AfxExitProcess(0);
}

bool CTaviDlg::ControlBarPreviewShown() const { return m_dlgControlBar.m_bPreview != 0; }
