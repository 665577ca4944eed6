// The main window's command message, its timers, and the save folders opened in the desktop.
#include <cstdio>

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

namespace {

constexpr uint32_t kMsPerHour = 3'600'000;
constexpr uint32_t kMsPerMinute = 60'000;
constexpr uint32_t kMsPerSecond = 1000;

void ShowControl(CWnd* control, bool show) {
    if (control) control->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

}  // namespace

ElapsedTime SplitElapsed(uint32_t milliseconds) {
    // In double precision as the clock always was; every part is truncated toward zero.
    const double elapsed = milliseconds;
    const int hours = static_cast<int>(elapsed / kMsPerHour);
    const double rest = elapsed - double(hours) * kMsPerHour;
    const int minutes = static_cast<int>(rest / kMsPerMinute);
    const int seconds = static_cast<int>((rest - double(minutes) * kMsPerMinute) / kMsPerSecond);
    return {hours, minutes, seconds};
}

std::wstring FormatElapsed(const ElapsedTime& elapsed) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%02d:%02d:%02d", elapsed.hours, elapsed.minutes, elapsed.seconds);
    return text;
}

void CTaviDlg::SetRecordButtons(bool recording) {
    ShowControl(GetDlgItem(IDC_BTN_RECORD_START), !recording);
    ShowControl(GetDlgItem(IDC_BTN_RECORD_STOP), recording);
    if (CWnd* snapshot = GetDlgItem(IDC_BTN_SNAPSHOT)) snapshot->EnableWindow(!recording);
}

LRESULT CTaviDlg::OnControlCommand(WPARAM wParam, LPARAM) {
    switch (wParam) {
    case CONTROL_OPEN_FOLDER: OpenSaveFolders(); break;
    case CONTROL_RECORD_START: {
        // A path the file's name would not fit in cannot be written either.
        if (!IsFolderWritable(FALSE) || !VideoFileNameFits(m_strVideoPath)) {
            AfxMessageBox(GetCatalogueText(6004).c_str(), MB_ICONEXCLAMATION);
            SetRecordButtons(false);
            break;
        }
        CWnd* label = GetDlgItem(IDC_STATIC_RECORDING);
        if (label) label->SetWindowText(GetCatalogueText(6043).c_str());
        const bool starting = !m_bRecording && m_bPreviewGraph;
        m_staticPreview.ShowWindow(SW_HIDE);
        ToggleRecording();
        m_staticPreview.ShowWindow(SW_SHOW);
        if (starting && !m_bRecording) {
            // Six attempts failed: the preview runs again and the user is told, rather than
            // shown a recording that is not there.
            if (label) label->SetWindowText(L" ");
            SetRecordButtons(false);
            AfxMessageBox(GetCatalogueText(6002).c_str(), MB_ICONEXCLAMATION);
            break;
        }
        SetRecordButtons(true);
        m_staticPreview.Invalidate(TRUE);
        break;
    }
    case CONTROL_RECORD_STOP:
        if (CWnd* label = GetDlgItem(IDC_STATIC_RECORDING)) label->SetWindowText(L" ");
        m_staticStatus.SetWindowText(L" ");
        m_staticPreview.ShowWindow(SW_HIDE);
        EndRecording();
        m_staticPreview.ShowWindow(SW_SHOW);
        SetRecordButtons(false);
        m_strRecordFile.clear();
        break;
    case CONTROL_SNAPSHOT: RequestSnapshot(); break;
    default: break;
    }
    return 0;
}

LRESULT CTaviDlg::OnControlBarClose(WPARAM, LPARAM) {
    EndDialog(IDCLOSE);
    return 0;
}

void CTaviDlg::OpenSaveFolders() {
    platform::IShell& shell = platform::Current().Shell();
    const int image = shell.Open(m_strImagePath);
    const int video = shell.Open(m_strVideoPath);
    auto unreachable = [](int result) {
        return result == platform::kShellPathNotFound || result == platform::kShellAccessDenied;
    };
    if (unreachable(image) || unreachable(video)) AfxMessageBox(GetCatalogueText(6003).c_str(), MB_ICONEXCLAMATION);
}

void CTaviDlg::OnRecordTick() {
    // 1-3: the difference absorbs a wrap of the tick count
    const ElapsedTime elapsed = SplitElapsed(::GetTickCount() - m_dwRecordStart);
    m_staticStatus.ShowWindow(SW_SHOW);
    m_staticStatus.SetWindowText(m_bRecording ? FormatElapsed(elapsed).c_str() : L" ");

    // 4: the guard's stop waits out a double-click time and its message waits for the user;
    // the ticks meanwhile leave that stop to finish.
    if (m_bDiskGuardStopping) return;
    // Before the free space: a folder that is gone has none to measure either.
    if (RecordingFileLost()) return;
    std::optional<uint64_t> free = FreeVideoMegabytes();
    if (free && *free >= kMinFreeMegabytes) return;
    m_bDiskGuardStopping = true;
    const std::wstring file = m_strRecordFile;
    OnBnClickedRecordStop();
    if (elapsed.hours == 0 && elapsed.minutes == 0 && elapsed.seconds == 0 && !file.empty())
        (void)platform::Current().Files().DeleteFile(file);
    AfxMessageBox(GetCatalogueText(6005).c_str(), MB_ICONEXCLAMATION);
    m_bDiskGuardStopping = false;
}

bool CTaviDlg::RecordingFileLost() {
    // Writes to a file whose name is gone (its folder deleted, its file system unmounted) go on
    // succeeding, so the writer never fails; yet nobody finds what it writes under that name.
    if (m_strRecordFile.empty() || platform::Current().Files().FileExists(m_strRecordFile)) return false;
    WriteLog(("\n The recording's file is no longer there: " + platform::ToUtf8(m_strRecordFile)).c_str());
    OnRecordingFailed(0, static_cast<LPARAM>(m_nRecordingsStarted));
    return true;
}

void CTaviDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_RECORD) {
        OnRecordTick();
    } else if (nIDEvent == TIMER_CAPTURED) {
        KillTimer(TIMER_CAPTURED);
        m_staticStatus.SetWindowText(L" ");
    } else if (nIDEvent == TIMER_SNAPSHOT_WAIT) {
        // No frame came (no running graph): the request goes, the window is usable again.
        KillTimer(TIMER_SNAPSHOT_WAIT);
        DisarmGrabRequest();
        EnableWindow(TRUE);
    } else if (nIDEvent == TIMER_RESUME_RETRY) {
        OnResumeRetryTick();
    } else if (nIDEvent == TIMER_SCREENSAVER_NOTICE) {
        KillTimer(m_nScreenSaverTimer);
        m_nScreenSaverTimer = 0;
        if (CWnd* notice = GetDlgItem(IDC_STATIC_SCREENSAVER)) {
            notice->SetWindowText(L"");
            notice->ShowWindow(SW_HIDE);
        }
    }
    CDialog::OnTimer(nIDEvent);
}
