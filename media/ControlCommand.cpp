// The main window's command message and its timers.
#include "AppMessages.h"
#include "SampleGrabberCB.h"
#include "TaviDlg.h"
#include "resources/ResourceIds.h"

LRESULT CTaviDlg::OnControlCommand(WPARAM wParam, LPARAM) {
    switch (wParam) {
        case CONTROL_SNAPSHOT: RequestSnapshot(); break;
        default: break;
    }
    return 0;
}

void CTaviDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_CAPTURED) {
        KillTimer(TIMER_CAPTURED);
        m_staticStatus.SetWindowText(L" ");
    } else if (nIDEvent == TIMER_SNAPSHOT_WAIT) {
        // No frame came (no running graph): the request goes, the window is usable again.
        KillTimer(TIMER_SNAPSHOT_WAIT);
        DisarmGrabRequest();
        EnableWindow(TRUE);
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
