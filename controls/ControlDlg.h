// The control bar: a borderless window with its own picture buttons and status line. Its
// buttons send the main window the same commands as the main window's own, except the preview
// button, which collapses the main window to its top part and back, and help. The main window
// creates it hidden and keeps a few of its own things in it (the resource folder, the preview
// flag, its window rectangles).
#pragma once

#include <string>

#include "FourStateButton.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/Static.h"

class CTaviDlg;

class CControlDlg : public CDialog {
public:
    explicit CControlDlg(CTaviDlg& owner);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The buttons' tooltips from the catalogue; the preview button's follows m_bPreview.
    void SetToolTips();
    // The buttons for a look: 0 preview shown, 1 recording, 2 recording stopped, 3 preview collapsed.
    void UpdateButtons(int look);

    // Members, in declaration order.
    CBrush m_brushBack;
    CFont m_fontStatus;
    int m_bPreview = 1;
    std::wstring m_strResPath;
    CFourStateButton m_btnSnapshot;
    CFourStateButton m_btnStartRec;
    CFourStateButton m_btnStopRec;
    CFourStateButton m_btnOpenFolder;
    CFourStateButton m_btnPreview;
    CFourStateButton m_btnHelp;
    CStatic m_staticStatus;
    RECT m_rcLargeWindow{};  // the main window's, kept here for it
    RECT m_rcSmallWindow{};
    HICON m_hIcon{};
    int m_nCaptionPart = 0;
    int m_nPreviewPart = 0;
    RECT m_rcPreviewArea{};

protected:
    void OnBnClickedOpenFolder();
    void OnBnClickedPreview();
    void OnBnClickedStartRec();
    void OnBnClickedStopRec();
    void OnBnClickedSnapshot();
    void OnBnClickedHelp();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void SendCommand(WPARAM command);
    void CollapsePreview();
    void RestorePreview();

    CTaviDlg& m_owner;
};
