// The main window's picture buttons that send commands.
#include "AppMessages.h"
#include "StillCapture.h"
#include "TaviDlg.h"
#include "controls/HelpFile.h"
#include "resources/ResourceIds.h"

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
    ShowHelp(m_dlgControlBar.m_strResPath);
}
