// The main window: live preview, picture buttons, status texts; owner of the capture graph.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "controls/ControlDlg.h"
#include "controls/DeviceSettings.h"
#include "controls/FourStateButton.h"
#include "controls/SetSavePathDlg.h"
#include "controls/Static.h"
#include "controls/TaviEffects.h"
#include "FrameStatic.h"
#include "framework/Button.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "platform/media/Media.h"

// The main window's handle, for the streaming thread's frame-ready message.
extern HWND g_hMainWnd;

class CTaviDlg : public CDialog {
public:
    CTaviDlg();
    ~CTaviDlg() override;

    BOOL OnInitDialog() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The camera start of the start-up: every camera, twice each; true when one runs.
    bool StartCamera();
    // A termination request from outside (SIGINT, SIGTERM), or the control bar's close: ends like
    // the close box, without asking about a running recording, whose file is finished.
    void EndForTermination(int result = IDCANCEL);

    // Settings: read from the registry at start (with the effect codes they give), written back
    // when the window ends.
    void LoadSettings();
    void SaveSettings();

    // System version, power and device notification set-up.
    int CheckOsVersion();
    void EnableAwayModePolicy();
    void RegisterCaptureNotification();
    void CloseSecondaryWindows();

    // System events (device, power, session, display, screen saver), seen before the message map.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCaptureDeviceRemoved();
    void ResumeAfterSuspend();
    // The preview's full-screen mode (command 32775 switches it on; a key or a later mouse move ends it).
    HRESULT SetFullScreen(bool on);
    // The OnDestroy steps, then the process ends with status 0; a file being written is finished first.
    [[noreturn]] void EndProgram();

    // Capture device enumeration.
    int EnumerateDevices();
    int ProbeResolutionCaps(IGraphBuilder* graph, IBaseFilter* filter);
    int IsCaptureClassDevice(const std::wstring& name);
    int CreateVideoDeviceFilter(ComPtr<IBaseFilter>& filter, int index);

    // Preview graph construction, teardown and effects.
    HRESULT BuildGraph(const wchar_t* mode);
    HRESULT SetCaptureFormat(IBaseFilter* camera);
    HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int n, ComPtr<IPin>& pin);
    HRESULT FindCategoryFilter(const GUID& category, const std::wstring& name, ComPtr<IBaseFilter>& filter);
    void TearDownGraph();
    // After the device settings dialog: whether the preview must be built again (the camera's
    // name changed, or what the graph was built with differs from the selection), and doing it.
    bool PreviewNeedsRestart(bool cameraChanged) const;
    void RestartPreviewAfterSettings(bool cameraChanged);
    void ApplyEffects();
    void RegisterEffectFilter();

    // The frame size SetCaptureFormat asks the camera for, from its capability code.
    platform::Size CaptureFrameSize() const;

    // Layout of the bottom strip and the window sizes of the resolution modes.
    void LayoutControls();
    void ApplyWindowSize();
    // The buttons' tooltips from the catalogue.
    void UpdateButtonTips();

    // Still capture: the request (command 4), the folder probe and the file from the grabbed frame.
    void RequestSnapshot();
    BOOL IsFolderWritable(BOOL bImageFolder);
    int SaveSnapshot(const std::wstring& folder, const uint8_t* frame, long capacity);

    // Recording: the graph, its start and stop, the record buttons' click filter, the save
    // folders in the desktop.
    BOOL BeginRecording();
    HRESULT BuildRecordGraph(const std::wstring& path);
    platform::Size RecordingSize() const;
    // Has the running recording graph report a failure while it runs to the window.
    void WatchRecordingGraph();
    void ToggleRecording();
    void EndRecording();
    void RequestRecordStart();
    void RequestRecordStop();
    void OpenSaveFolders();
    // Repairs, in the background, the recordings a killed process left unfinished.
    void RepairUnfinishedRecordings();
    // Free space of the file system that holds the video folder, in whole megabytes.
    std::optional<uint64_t> FreeVideoMegabytes() const;

    // Members, in declaration order.
    CStatic m_staticStatus;
    BOOL m_bSmallWindow = 0;
    CSTATIC m_staticPreview;
    ComPtr<IGraphBuilder> m_pGraph;
    ComPtr<ISampleGrabber> m_pGrabber;
    std::wstring m_strImagePath;
    std::wstring m_strVideoPath;
    std::wstring m_strSaveCamera;
    std::wstring m_strLastCamera;
    bool m_bRecordClickHandled = false;
    CFourStateButton m_btnOpenFolder;
    CFourStateButton m_btnSnapshot;
    CFourStateButton m_btnHelp;
    CFourStateButton m_btnRecordStart;
    CFourStateButton m_btnRecordStop;
    std::wstring m_strRecordFile;
    BOOL m_bScreenSaverActive = 0;
    UINT_PTR m_nScreenSaverTimer = 0;
    uint32_t m_hPowerNotify = 0;
    HICON m_hIcon{};
    uintptr_t m_gdiplusToken = 0;
    CControlDlg m_dlgControlBar{*this};  // also keeps the resource folder and the window rectangles
    std::vector<std::wstring> m_arrVideoDevices;
    std::vector<std::wstring> m_arrAudioDevices;
    std::vector<std::wstring> m_arrResolutionCaps;
    int m_nVideoDevice = 0;
    int m_nAudioDevice = 0;
    int m_nResolution = 1;
    std::wstring m_strCameraName;
    BOOL m_bRed = 1;
    BOOL m_bGreen = 1;
    BOOL m_bBlue = 1;
    BOOL m_bHorMirror = 0;
    BOOL m_bVerMirror = 0;
    BOOL m_bBW = 0;
    BOOL m_bSepia = 0;
    int m_nToneEffect = 0;
    int m_nMirror = 0;
    ComPtr<IVideoEffectControl> m_pEffect;
    bool m_bPreviewGraph = true;
    BOOL m_bRecording = 0;
    int m_nCurVideoDevice = 0;
    int m_nCurAudioDevice = 0;
    int m_nCurResolution = 0;
    DWORD m_dwFullScreenStart = 0;
    BOOL m_bFullScreen = 0;
    DWORD m_dwRecordStart = 0;
    std::wstring m_strVideoDrive;
    BOOL m_bFirstShow = 0;
    int m_nPosX = 0;
    int m_nPosY = 0;
    CBrush m_brushBack;
    CFont m_fontStatus;
    BOOL m_bNotVista = 0;
    int m_nInitState = 0;
    uint32_t m_hDevNotify = 0;
    CFrameStatic m_staticSnapshot;  // control 1004: the last snapshot, small
    bool m_bDiskGuardStopping = false;  // the free-space guard is stopping the recording
    uint32_t m_nRecordingsStarted = 0;  // numbers the recordings, so a late failure report finds its own
    DWORD m_dwResumeStart = 0;         // when the preview's retries after a sleep began
    bool m_bResumeNoticeShown = false;  // the user was told once that the camera does not come back

    // Context menu, help and the settings dialogs.
    // The camera's property pages: 0 shown (or none to show), 1 no capture filter, failure without a graph.
    [[nodiscard]] HRESULT ShowCameraProperties();
    CDeviceSettings m_dlgDeviceSettings{*this};
    CSetSavePathDlg m_dlgSavePath{*this};
    CTaviEffects m_dlgEffects{*this};

protected:
    // Context menu, help and the settings dialogs.
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnCamSetting();
    void OnVideoEffects();
    void OnDeviceSettings();
    void OnSetSavePath();
    void OnBnClickedOpenFolder();
    void OnBnClickedHelp();

    void OnDestroy();
    void OnMove(int x, int y);
    void OnShowWindow(BOOL show, UINT status);
    void OnMoving(UINT side, LPRECT rect);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnPaint();
    HICON OnQueryDragIcon();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnControlCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnFrameReady(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlBarClose(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecordingFailed(WPARAM wParam, LPARAM lParam);
    void OnBnClickedSnapshot();
    void OnBnClickedRecordStart();
    void OnBnDoubleClickedRecordStart();
    void OnBnClickedRecordStop();
    void OnBnDoubleClickedRecordStop();
    // The click filter: true when the click is to act, once its double-click time is over.
    bool WaitOutDoubleClick(bool& waiting, bool& secondClick);
    void OnRecordTick();
    // Ends the recording as a failed one when its file is no longer at its path; true if so.
    bool RecordingFileLost();
    // Resume without a recording: one round of looking for the camera and building its preview;
    // the window answers between the rounds.
    void RetryResumePreview();
    void OnResumeRetryTick();
    void ResumeRecordingGraph();
    // Timer 101 stopped and the clock and status texts blanked.
    void StopRecordingClock();
    void CutOffRecording();
    void ResetRecordButtons();
    // Whether the control bar's preview is shown (its collapse changes how display and session
    // events are met).
    bool ControlBarPreviewShown() const;
    void OnFullScreen();
    // Back into the window, the screen saver allowed again for as long as the program runs.
    void LeaveFullScreen();
    void OnMouseMove(UINT flags, CPoint point);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void SetRecordButtons(bool recording);
    DECLARE_MESSAGE_MAP()
};
