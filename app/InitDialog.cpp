// Start-up of the main window: sound, devices, power and screen saver, settings, then a camera.
#include "AppMessages.h"
#include "CapabilityCode.h"
#include "DiagnosticLog.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

namespace {

// The away-mode power setting the window is told about.
constexpr GUID kAwayModeSetting{0x98A7F580, 0x01F7, 0x48AA, {0x9C, 0x0F, 0x44, 0x35, 0x2C, 0x29, 0xE5, 0xC0}};

constexpr wchar_t kCameraNotReady[] = L"Camera is not ready or already in use. Please check.";

}  // namespace

BOOL CTaviDlg::OnInitDialog() {
    auto& system = platform::Current();

    // 1-3 (the component runtime needs no set-up here)
    std::wstring folder;
    GetExeFolder(folder);
    (void)system.Sound().PlaySoundFile(folder + platform::kPathSeparator + L"CameraOn.wav");
    m_nInitState = 1;

    // 4
    if (EnumerateDevices() != 0) {
        AfxMessageBox(GetCatalogueText(6001).c_str(), MB_ICONEXCLAMATION);
        m_nInitState = 0;
        EndDialog(1);
        return TRUE;
    }

    // 5-6
    auto& power = system.Power();
    m_bScreenSaverActive = power.IsScreenSaverActive();
    CWnd* notice = GetDlgItem(IDC_STATIC_SCREENSAVER);
    if (notice) notice->ShowWindow(SW_HIDE);
    (void)power.SetScreenSaverActive(false, true);
    if (m_nScreenSaverTimer == 0) {
        m_nScreenSaverTimer = SetTimer(TIMER_SCREENSAVER_NOTICE, TIMER_SCREENSAVER_NOTICE_PERIOD, nullptr);
        if (notice) {
            notice->ShowWindow(SW_SHOW);
            notice->SetWindowText(GetCatalogueText(6042).c_str());
        }
    }

    // 7-9: where nothing asks before a sleep, the request itself refuses it, with the text the
    // question would have been answered with
    CheckOsVersion();
    power.SetSleepRefusalText(GetCatalogueText(6041));
    using namespace platform;
    if (m_bNotVista == 1) {
        (void)power.SetThreadExecutionState(kEsContinuous | kEsSystemRequired | kEsDisplayRequired);
    } else {
        uint32_t flags = kEsContinuous | kEsAwayModeRequired | kEsSystemRequired | kEsDisplayRequired;
        if (power.SetThreadExecutionState(flags) == 0) {
            EnableAwayModePolicy();
            (void)power.SetThreadExecutionState(flags);
        }
        if (power.HasPowerSettingNotification())
            m_hPowerNotify = power.RegisterPowerSettingNotification(m_hWnd, kAwayModeSetting).value;
    }
    (void)power.RequestLowestWakeLatency();

    // 10-13 (the image library needs no start-up here)
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    (void)system.Session().RegisterSessionNotification(m_hWnd, true);
    system.Session().SetTerminationHandler([this] { EndForTermination(); });

    // 14-16
    LoadSettings();
    m_bFirstShow = 1;
    // The free-space checks measure the file system that holds the video folder; a drive root
    // taken from the path's first characters means nothing here.
    m_strVideoDrive = m_strVideoPath;
    m_dlgControlBar.m_strResPath = folder + platform::kPathSeparator + L"Res" + platform::kPathSeparator;
    g_hMainWnd = m_hWnd;

    // 17-19
    const std::wstring& resFolder = m_dlgControlBar.m_strResPath;
    m_btnOpenFolder.LoadStrip(resFolder + L"Open.bmp");
    m_btnSnapshot.LoadStrip(resFolder + L"Snap.bmp");
    m_btnRecordStart.LoadStrip(resFolder + L"RecordOn.bmp");
    m_btnRecordStop.LoadStrip(resFolder + L"RecordOff.bmp");
    m_btnHelp.LoadStrip(resFolder + L"Help.bmp");
    UpdateButtonTips();
    m_btnRecordStop.ShowWindow(SW_HIDE);
    RegisterCaptureNotification();

    // 20-21
    m_nVideoDevice = 0;
    if (!m_strLastCamera.empty()) {
        for (size_t i = 0; i < m_arrVideoDevices.size(); ++i) {
            if (m_arrVideoDevices[i] == m_strLastCamera) {
                m_nVideoDevice = static_cast<int>(i);
                break;
            }
        }
    }
    // A camera without a capability code keeps the loaded mode.
    if (const int code = CapabilityCode(m_arrResolutionCaps, m_nVideoDevice); code != kCapsNone) {
        if (code == kCapsNtsc) {
            m_nResolution = 8;
        } else if (int modes = ModeCount(code); m_nResolution >= modes) {
            m_nResolution = modes - 1;
        }
    }

    // Before the preview, which it does not hold up: a killed recording is whole again soon
    // after the window comes, and its file keeps its number meanwhile.
    RepairUnfinishedRecordings();

    // 22-23
    if (!StartCamera()) {
        MessageBox(kCameraNotReady, AfxGetAppName().c_str(), MB_OK);
        WriteLog("\n Camera is not ready or already in use. Please check.");
        m_nInitState = 2;
        m_nVideoDevice = 0;
        EndDialog(1);
        return TRUE;
    }

    // 24: the control bar's window is never shown
    m_staticPreview.ModifyStyle(0, WS_CLIPCHILDREN);
    m_dlgControlBar.Create(IDD_CONTROL_BAR, this);
    ModifyStyle(0, WS_MINIMIZEBOX);
    m_staticPreview.Invalidate();
    return TRUE;
}

bool CTaviDlg::StartCamera() {
    int start = m_nVideoDevice;
    int count = static_cast<int>(m_arrVideoDevices.size());
    while (m_nVideoDevice < count) {
        if (SUCCEEDED(BuildGraph(nullptr))) break;
        TearDownGraph();
        if (SUCCEEDED(BuildGraph(nullptr))) {
            WriteLog("\n success");
            break;
        }
        WriteLog("\n Registration of video effect thru exe failed. Possibly Videoeffect.exe is missing at exe location");
        if (start != 0) {
            m_nVideoDevice = 0;
            start = 0;
        } else {
            ++m_nVideoDevice;
        }
        TearDownGraph();
    }
    return m_nVideoDevice != count;
}
