// A capture device went away: keep the camera in use when it is still there, else move to the
// one before it, or end the program when no camera is left.
#include <algorithm>

#include "AppMessages.h"
#include "SystemEvents.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

void CTaviDlg::StopRecordingClock() {
    KillTimer(TIMER_RECORD);
    if (CWnd* clock = GetDlgItem(IDC_STATIC_RECORDING)) clock->SetWindowText(L" ");
    m_staticStatus.SetWindowText(L" ");
}

void CTaviDlg::CutOffRecording() {
    StopRecordingClock();
    m_bPreviewGraph = true;
    m_dwRecordStart = 0;
    m_bRecording = 0;
}

void CTaviDlg::ResetRecordButtons() {
    m_btnRecordStop.ShowWindow(SW_HIDE);
    m_btnRecordStart.ShowWindow(SW_SHOW);
    // The resume's retries keep the record button from starting a graph of its own meanwhile.
    m_btnRecordStart.EnableWindow(TRUE);
    m_btnSnapshot.EnableWindow(TRUE);
}

void CTaviDlg::OnCaptureDeviceRemoved() {
    // 1
    ::SetCursor(LoadCursor(IDC_WAIT));
    // The enumeration puts a camera it no longer finds back to the first place; the one before
    // the camera that went is counted from where it was.
    const int inUse = m_nVideoDevice;
    (void)EnumerateDevices();
    const int count = static_cast<int>(m_arrVideoDevices.size());

    // 2: the camera in use is still listed. Another camera went, so its place may have moved;
    // the preview keeps running on it (rebuilding it one place lower would change the camera).
    for (int i = 0; i < count; ++i) {
        if (m_arrVideoDevices[i] == m_strCameraName) {
            m_nVideoDevice = i;
            ::SetCursor(platform::CursorKind::None);
            return;
        }
    }

    // 3
    if (count == 0) {
        m_nVideoDevice = inUse != 0 ? inUse - 1 : 0;
        if (m_bRecording) StopRecordingClock();
        g_bCameraPresent = false;
        ::SetCursor(platform::CursorKind::None);
        AfxMessageBox(GetCatalogueText(6001).c_str(), MB_ICONEXCLAMATION);
        EndProgram();
    }

    // 4: the graph goes first, so a recording is finished as far as it got.
    if (m_bRecording) CutOffRecording();
    TearDownGraph();
    // Several cameras may have gone at once.
    m_nVideoDevice = std::min(inUse != 0 ? inUse - 1 : 0, count - 1);
    m_strCameraName = m_arrVideoDevices[m_nVideoDevice];
    (void)BuildGraph(nullptr);
    ResetRecordButtons();
    ::SetCursor(platform::CursorKind::None);
}
