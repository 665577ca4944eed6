// Back from sleep: the preview is built again. Without a recording the window keeps answering
// between the tries; with one, the recording is cut off (its file finished) and a bounded number
// of rebuilds is made before the program gives up.
#include "AppMessages.h"
#include "Recording.h"
#include "SampleGrabberCB.h"
#include "SystemEvents.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "resources/Catalogue.h"

namespace {

constexpr DWORD kRebuildPause = 3000;
constexpr DWORD kDeviceSettlePause = 5000;
constexpr DWORD kPausedBound = 130000;
constexpr DWORD kWrappedBound = 60000;
// The user hears once that the camera does not come back after this long without a preview.
constexpr DWORD kGiveUpNotice = 60000;
// A single state query waits no longer than this; the loop around it has the overall bound.
constexpr uint32_t kStateQuery = 1000;
constexpr DWORD kStatePoll = 100;
constexpr int kRecordingAttempts = 4;
constexpr int kStoppedPasses = 5;

constexpr wchar_t kReconnect[] = L"Please try reconnecting the camera & restarting the application again";

}  // namespace

void CTaviDlg::ResumeAfterSuspend() {
    // 1
    if (g_bGraphBusy || !g_bCameraPresent) {
        g_bSuspended = false;
        return;
    }
    // 2
    g_bGraphBusy = true;
    if (m_bRecording) {
        ResumeRecordingGraph();
        return;
    }
    // 3.1: the buttons wait with the preview, so no recording starts a graph of its own meanwhile
    ::SetCursor(LoadCursor(IDC_WAIT));
    m_btnRecordStart.EnableWindow(FALSE);
    m_btnSnapshot.EnableWindow(FALSE);
    m_dwResumeStart = ::GetTickCount();
    m_bResumeNoticeShown = false;
    RetryResumePreview();
}

void CTaviDlg::RetryResumePreview() {
    KillTimer(TIMER_RESUME_RETRY);
    // 3.2
    TearDownGraph();
    (void)EnumerateDevices();
    bool listed = false;
    for (const std::wstring& camera : m_arrVideoDevices) listed = listed || camera == m_strCameraName;
    // 3.3
    if (m_arrVideoDevices.empty()) {
        AfxMessageBox(GetCatalogueText(6001).c_str(), MB_ICONEXCLAMATION);
        EndProgram();
    }
    if (!listed) EndProgram();
    // 3.4: the pause is a timer, so the window (its close box, a termination request) answers
    SetTimer(TIMER_RESUME_RETRY, TIMER_RESUME_RETRY_PERIOD);
}

void CTaviDlg::OnResumeRetryTick() {
    KillTimer(TIMER_RESUME_RETRY);
    if (SUCCEEDED(BuildGraph(nullptr))) {
        // 3.5
        ResetRecordButtons();
        ::SetCursor(platform::CursorKind::None);
        g_bGraphBusy = false;
        g_bSuspended = false;
        return;
    }
    if (!m_bResumeNoticeShown && ::GetTickCount() - m_dwResumeStart > kGiveUpNotice) {
        m_bResumeNoticeShown = true;
        AfxMessageBox(GetCatalogueText(6044).c_str(), MB_ICONEXCLAMATION);
    }
    RetryResumePreview();
}

void CTaviDlg::ResumeRecordingGraph() {
    // 4.1: the graph still holds the file, which is finished when it is taken down below
    CutOffRecording();
    ::SetCursor(LoadCursor(IDC_WAIT));

    // 4.2
    ComPtr<IMediaControl> control;
    if (m_pGraph) (void)m_pGraph.As(control);
    FILTER_STATE state = State_Stopped;
    if (control) {
        if (!g_bSuspended) (void)control->Pause();
        (void)control->GetState(kStateQuery, state);
    }

    if (state != State_Stopped) {
        // 4.3
        const DWORD noted = ::GetTickCount();
        while (state != State_Paused) {
            ::Sleep(kStatePoll);
            (void)control->GetState(kStateQuery, state);
            const DWORD now = ::GetTickCount();
            if (now < noted && now > kWrappedBound) {
                TearDownGraph();
                AfxExitProcess(0);
            }
            if (now - noted > kPausedBound) {
                // Taken down rather than only let go, so the file ends as far as it got.
                TearDownGraph();
                AfxExitProcess(0);
            }
        }
        control.Reset();
        bool built = false;
        for (int attempt = 1; attempt <= kRecordingAttempts && !built; ++attempt) {
            if (attempt == 3) {
                ::Sleep(kDeviceSettlePause);
                if (EnumerateDevices() != 0) {
                    TearDownGraph();
                    AfxExitProcess(0);
                }
            }
            TearDownGraph();
            m_bRecording = 0;
            m_dwRecordStart = 0;
            ::Sleep(kRebuildPause);
            built = SUCCEEDED(BuildGraph(nullptr));
        }
        if (!built) {
            TearDownGraph();
            ::Sleep(kRebuildPause);
            TearDownGraph();
            AfxExitProcess(0);
        }
        ResetRecordButtons();
        DrawFrame(g_pFrameBuffer, g_bmiLastFrame);
        m_staticStatus.SetWindowText(L" ");
        ::SetCursor(platform::CursorKind::None);
        g_bGraphBusy = false;
        g_bSuspended = false;
        return;
    }

    // 4.4
    control.Reset();
    for (int pass = 1;; ++pass) {
        TearDownGraph();
        m_staticStatus.SetWindowText(L" ");
        m_bRecording = 0;
        m_dwRecordStart = 0;
        if (pass == kStoppedPasses) {
            AfxMessageBox(kReconnect, MB_OK);
            EndProgram();
        }
        ResetRecordButtons();
        ::Sleep(kRebuildPause);
        if (SUCCEEDED(BuildGraph(nullptr))) break;
    }
    g_bGraphBusy = false;
    ::SetCursor(platform::CursorKind::None);
    g_bSuspended = false;
}
