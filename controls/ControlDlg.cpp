#include "ControlDlg.h"

#include "AppMessages.h"
#include "GreyColours.h"
#include "HelpFile.h"
#include "TaviDlg.h"
#include "framework/DataExchange.h"
#include "framework/Runtime.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

BEGIN_MESSAGE_MAP(CControlDlg, CDialog)
    ON_BN_CLICKED(IDC_BAR_OPEN_FOLDER, OnBnClickedOpenFolder)
    ON_BN_CLICKED(IDC_BAR_PREVIEW, OnBnClickedPreview)
    ON_BN_CLICKED(IDC_BAR_RECORD_START, OnBnClickedStartRec)
    ON_BN_CLICKED(IDC_BAR_RECORD_STOP, OnBnClickedStopRec)
    ON_BN_CLICKED(IDC_BAR_SNAPSHOT, OnBnClickedSnapshot)
    ON_BN_CLICKED(IDC_BAR_HELP, OnBnClickedHelp)
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CControlDlg::CControlDlg(CTaviDlg& owner)
    : CDialog(IDD_CONTROL_BAR, &owner), m_brushBack(kGreyBackColor), m_owner(owner) {
    m_fontStatus.CreateFont(15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    m_hIcon = LoadIcon(IDR_MAINFRAME);
}

void CControlDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BAR_SNAPSHOT, m_btnSnapshot);
    DDX_Control(pDX, IDC_BAR_RECORD_START, m_btnStartRec);
    DDX_Control(pDX, IDC_BAR_RECORD_STOP, m_btnStopRec);
    DDX_Control(pDX, IDC_BAR_OPEN_FOLDER, m_btnOpenFolder);
    DDX_Control(pDX, IDC_BAR_PREVIEW, m_btnPreview);
    DDX_Control(pDX, IDC_BAR_HELP, m_btnHelp);
    DDX_Control(pDX, IDC_BAR_STATUS, m_staticStatus);
}

BOOL CControlDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_btnHelp.LoadStrip(m_strResPath + L"Help.bmp");
    m_btnPreview.LoadStrip(m_strResPath + L"PreviewOff.bmp");
    m_btnSnapshot.LoadStrip(m_strResPath + L"Snap.bmp");
    m_btnStartRec.LoadStrip(m_strResPath + L"RecordOn.bmp");
    m_btnStopRec.LoadStrip(m_strResPath + L"RecordOff.bmp");
    m_btnOpenFolder.LoadStrip(m_strResPath + L"Open.bmp");
    SetToolTips();
    m_btnStopRec.ShowWindow(SW_HIDE);
    return TRUE;
}

void CControlDlg::SetToolTips() {
    m_btnHelp.SetToolTipText(GetCatalogueText(6009).c_str());
    m_btnPreview.SetToolTipText(GetCatalogueText(m_bPreview ? 6010 : 6014).c_str());
    m_btnSnapshot.SetToolTipText(GetCatalogueText(6011).c_str());
    m_btnStartRec.SetToolTipText(GetCatalogueText(6012).c_str());
    m_btnStopRec.SetToolTipText(GetCatalogueText(6013).c_str());
    m_btnOpenFolder.SetToolTipText(GetCatalogueText(6008).c_str());
}

void CControlDlg::SendCommand(WPARAM command) { m_owner.SendMessage(WM_CONTROL_COMMAND, command, 0); }

void CControlDlg::OnBnClickedOpenFolder() {
    SendCommand(CONTROL_OPEN_FOLDER);
    SetToolTips();
}

void CControlDlg::OnBnClickedStartRec() {
    SendCommand(CONTROL_RECORD_START);
    // Only a recording the main window did start gives the bar its stop button.
    if (m_owner.m_bRecording) UpdateButtons(1);
    SetToolTips();
}

void CControlDlg::OnBnClickedStopRec() {
    SendCommand(CONTROL_RECORD_STOP);
    UpdateButtons(2);
}

void CControlDlg::OnBnClickedSnapshot() {
    m_staticStatus.SetWindowText(GetCatalogueText(6015).c_str());
    SendCommand(CONTROL_SNAPSHOT);
    // A second snapshot within the second starts the notice's second again.
    SetTimer(TIMER_CAPTURED, TIMER_CAPTURED_PERIOD, nullptr);
    SetToolTips();
}

void CControlDlg::OnBnClickedHelp() {
    SetToolTips();
    ShowHelp(m_strResPath);
}

void CControlDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_CAPTURED) {
        KillTimer(TIMER_CAPTURED);
        m_staticStatus.SetWindowText(L" ");
    }
    CDialog::OnTimer(nIDEvent);
}

void CControlDlg::OnClose() {
    m_owner.PostMessage(WM_CONTROLBAR_CLOSE, 0, 0);
    Default();
}

HBRUSH CControlDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return GreyCtlColor(pDC, nCtlColor, m_brushBack, CDialog::OnCtlColor(pDC, pWnd, nCtlColor));
}
