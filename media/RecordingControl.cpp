// Starting and stopping a recording around the recording graph, and the record buttons' click
// filter: a single click acts one double-click time after it was made, a double-click at once.
#include "AppMessages.h"
#include "DiagnosticLog.h"
#include "Recording.h"
#include "SampleGrabberCB.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "platform/Strings.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

bool g_bGraphBusy = false;
bool g_bStartClickWaiting = false;
bool g_bStartSecondClick = false;
bool g_bStopClickWaiting = false;
bool g_bStopSecondClick = false;

namespace {

constexpr int kClickSlices = 10;
constexpr uint64_t kMegabyte = 1'048'576;

// Lets the window's messages through for a while: clicks, timers and commands run meanwhile.
void DispatchPendingMessages() {
    MSG message;
    while (::PeekMessage(&message, HWND{}, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessage(&message);
    }
}

}  // namespace

std::optional<uint64_t> CTaviDlg::FreeVideoMegabytes() const {
    auto bytes = platform::Current().Volumes().FreeBytes(m_strVideoDrive);
    if (!bytes) return std::nullopt;
    return *bytes / kMegabyte;
}

void CTaviDlg::ToggleRecording() {
    if (m_bRecording) {
        KillTimer(TIMER_RECORD);
        m_bRecording = FALSE;
        m_staticStatus.SetWindowText(L" ");
        if (!m_bPreviewGraph) {
            m_bPreviewGraph = true;
            TearDownGraph();
            if (SUCCEEDED(BuildGraph(nullptr))) DrawFrame(g_pFrameBuffer, g_bmiLastFrame);
        }
        m_dwRecordStart = 0;
    } else if (m_bPreviewGraph) {
        m_bPreviewGraph = false;
        m_bRecording = TRUE;  // before the build: the large mode captures smaller while recording
        if (BeginRecording()) {
            if (CWnd* label = GetDlgItem(IDC_STATIC_RECORDING)) label->ShowWindow(SW_SHOW);
            SetTimer(TIMER_RECORD, TIMER_RECORD_PERIOD);
            m_dwRecordStart = ::GetTickCount();
        } else {
            // The retries left a running preview; no recording is believed to run without one.
            m_bPreviewGraph = true;
            m_bRecording = FALSE;
        }
    }
}

void CTaviDlg::EndRecording() {
    ::SetCursor(LoadCursor(IDC_WAIT));
    KillTimer(TIMER_RECORD);
    m_bRecording = FALSE;
    if (!m_bPreviewGraph) {
        m_bPreviewGraph = true;
        TearDownGraph();  // stopping the graph completes the file
        if (SUCCEEDED(BuildGraph(nullptr))) DrawFrame(g_pFrameBuffer, g_bmiLastFrame);
    }
    m_dwRecordStart = 0;
    ::SetCursor(platform::CursorKind::None);
}

bool CTaviDlg::WaitOutDoubleClick(bool& waiting, bool& secondClick) {
    m_bRecordClickHandled = false;
    if (waiting) {
        secondClick = true;
        return false;
    }
    secondClick = false;
    waiting = true;
    const UINT doubleClick = ::GetDoubleClickTime();
    const UINT slice = doubleClick / kClickSlices;
    for (int i = 0; i < kClickSlices && !secondClick; ++i) {
        ::Sleep(i + 1 < kClickSlices ? slice : doubleClick - (kClickSlices - 1) * slice);
        DispatchPendingMessages();
    }
    waiting = false;
    return !m_bRecordClickHandled;
}

void CTaviDlg::OnBnClickedRecordStart() {
    if (WaitOutDoubleClick(g_bStartClickWaiting, g_bStartSecondClick)) RequestRecordStart();
}

void CTaviDlg::OnBnDoubleClickedRecordStart() {
    m_bRecordClickHandled = true;
    RequestRecordStart();
}

void CTaviDlg::OnBnClickedRecordStop() {
    if (WaitOutDoubleClick(g_bStopClickWaiting, g_bStopSecondClick)) RequestRecordStop();
}

void CTaviDlg::OnBnDoubleClickedRecordStop() {
    m_bRecordClickHandled = true;
    RequestRecordStop();
}

void CTaviDlg::RequestRecordStart() {
    // 1: a query that fails says nothing of the space; the user is told what can be acted on
    std::optional<uint64_t> free = FreeVideoMegabytes();
    if (!free || *free < kMinFreeMegabytes) {
        const int message = !free && !IsFolderWritable(FALSE) ? 6004 : 6005;
        AfxMessageBox(GetCatalogueText(message).c_str(), MB_ICONEXCLAMATION);
        return;
    }
    // 2
    g_bGraphBusy = true;
    if (CWnd* notice = GetDlgItem(IDC_STATIC_SCREENSAVER)) notice->ShowWindow(SW_HIDE);
    UpdateButtonTips();
    SendMessage(WM_CONTROL_COMMAND, CONTROL_RECORD_START, 0);
    g_bGraphBusy = false;
}

LRESULT CTaviDlg::OnRecordingFailed(WPARAM, LPARAM recording) {
    // A failure of a recording that has ended since (or of another one) is no news.
    if (!m_bRecording || m_bPreviewGraph || static_cast<uint32_t>(recording) != m_nRecordingsStarted) return 0;
    // Ended as a stop ends it: the file is finished as far as it got, the preview comes back.
    WriteLog(("\n Recording failed: " + platform::ToUtf8(m_strRecordFile)).c_str());
    RequestRecordStop();
    AfxMessageBox(GetCatalogueText(6002).c_str(), MB_ICONEXCLAMATION);
    return 0;
}

void CTaviDlg::RequestRecordStop() {
    g_bGraphBusy = true;
    SendMessage(WM_CONTROL_COMMAND, CONTROL_RECORD_STOP, 0);
    (void)EnumerateDevices();
    g_bGraphBusy = false;
}
