// The main window's close request, destruction, moves and key filter.
#include "AppMessages.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

BEGIN_MESSAGE_MAP(CTaviDlg, CDialog)
    ON_WM_DESTROY()
    ON_WM_MOVE()
    ON_WM_SHOWWINDOW()
    ON_WM_MOVING()
    ON_WM_CTLCOLOR()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_SYSCOMMAND()
    ON_WM_TIMER()
    ON_MESSAGE(WM_CONTROL_COMMAND, OnControlCommand)
    ON_MESSAGE(WM_FRAME_READY, OnFrameReady)
    ON_MESSAGE(WM_CONTROLBAR_CLOSE, OnControlBarClose)
    ON_MESSAGE(WM_RECORDING_FAILED, OnRecordingFailed)
    ON_BN_CLICKED(IDC_BTN_SNAPSHOT, OnBnClickedSnapshot)
    ON_BN_CLICKED(IDC_BTN_RECORD_START, OnBnClickedRecordStart)
    ON_BN_DOUBLECLICKED(IDC_BTN_RECORD_START, OnBnDoubleClickedRecordStart)
    ON_BN_CLICKED(IDC_BTN_RECORD_STOP, OnBnClickedRecordStop)
    ON_BN_DOUBLECLICKED(IDC_BTN_RECORD_STOP, OnBnDoubleClickedRecordStop)
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_CAM_SETTING, OnCamSetting)
    ON_COMMAND(ID_VIDEO_EFFECTS, OnVideoEffects)
    ON_COMMAND(ID_DEVICE_SETTINGS, OnDeviceSettings)
    ON_COMMAND(ID_SET_SAVE_PATH, OnSetSavePath)
    ON_BN_CLICKED(IDC_BTN_OPEN_FOLDER, OnBnClickedOpenFolder)
    ON_BN_CLICKED(IDC_BTN_HELP, OnBnClickedHelp)
    ON_COMMAND(ID_HELP, OnBnClickedHelp)
    ON_COMMAND(ID_FULL_SCREEN, OnFullScreen)
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

void CTaviDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_STATIC_STATUS, m_staticStatus);
    DDX_Control(pDX, IDC_STATIC_PREVIEW, m_staticPreview);
    DDX_Control(pDX, IDC_BTN_OPEN_FOLDER, m_btnOpenFolder);
    DDX_Control(pDX, IDC_BTN_SNAPSHOT, m_btnSnapshot);
    DDX_Control(pDX, IDC_STATIC_SNAPSHOT, m_staticSnapshot);
    DDX_Control(pDX, IDC_BTN_HELP, m_btnHelp);
    DDX_Control(pDX, IDC_BTN_RECORD_START, m_btnRecordStart);
    DDX_Control(pDX, IDC_BTN_RECORD_STOP, m_btnRecordStop);
}

BOOL CTaviDlg::PreTranslateMessage(MSG* pMsg) {
    // Escape and Return would end a dialog; the main window ends only on request.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN)) {
        // In full screen any key ends it, these two as well.
        if (m_bFullScreen) SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    // F11 asks for the full-screen preview, as in other desktop programs; in full screen it is
    // a key like any other and ends it.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == static_cast<WPARAM>(VK_F11) && !m_bFullScreen) {
        SendMessage(WM_COMMAND, MAKEWPARAM(ID_FULL_SCREEN, 0));
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CTaviDlg::OnCancel() {
    if (m_bRecording) {
        int answer = MessageBox(GetCatalogueText(6039).c_str(), GetCatalogueText(6038).c_str(), MB_OKCANCEL | MB_ICONQUESTION);
        if (answer != IDOK) return;
        ShowWindow(SW_HIDE);
        KillTimer(TIMER_RECORD);
        m_bRecording = 0;
        m_dwRecordStart = 0;
    }
    TearDownGraph();
    EndDialog(IDCANCEL);
}

void CTaviDlg::EndForTermination() {
    if (m_bRecording) {
        KillTimer(TIMER_RECORD);
        m_bRecording = 0;
        m_dwRecordStart = 0;
    }
    TearDownGraph();  // a file being written is completed here
    EndDialog(IDCANCEL);
}

void CTaviDlg::OnDestroy() {
    if (m_nInitState != 0) {
        auto& power = platform::Current().Power();
        if (m_nInitState == 1) SaveSettings();
        if (m_bNotVista == 0 && power.HasPowerSettingNotification())
            (void)power.UnregisterPowerSettingNotification(platform::PowerNotifyHandle{m_hPowerNotify});
        (void)power.SetThreadExecutionState(platform::kEsContinuous);
        if (m_bScreenSaverActive) (void)power.SetScreenSaverActive(true, true);
        (void)platform::Current().Session().UnregisterSessionNotification(m_hWnd);
    }
    platform::Current().Session().SetTerminationHandler({});
    CloseSecondaryWindows();
    CDialog::OnDestroy();
}

void CTaviDlg::OnMove(int x, int y) {
    CDialog::OnMove(x, y);
    // The rectangles are kept in the control bar, so only once it is there.
    if (m_dlgControlBar.GetSafeHwnd()) {
        GetWindowRect(m_nResolution == 0 ? &m_dlgControlBar.m_rcSmallWindow : &m_dlgControlBar.m_rcLargeWindow);
    }
    SetFocus();
}
