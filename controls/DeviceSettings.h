// The resolution and device settings dialog: the camera, the microphone and the capture
// resolution, written into the main window's selection on confirm.
#pragma once

#include <vector>

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Dialog.h"

class CTaviDlg;

class CDeviceSettings : public CDialog {
public:
    explicit CDeviceSettings(CTaviDlg& owner);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Members, in declaration order.
    int m_nSelVideo = 0;
    int m_nSelAudio = 0;
    int m_nSelResolution = 1;
    int m_nSavedResolution = 0;
    CComboBox m_cbVideo;
    CComboBox m_cbAudio;
    CButton m_btnOk;
    CButton m_btnCancel;
    CComboBox m_cbResolution;

protected:
    void OnBnClickedOk();
    void OnBnClickedCancel();
    void OnSelChangeVideo();
    void OnSelChangeAudio();
    void OnSelChangeResolution();
    DECLARE_MESSAGE_MAP()

private:
    // The code the resolution list is filled from for camera `index`.
    int ListCode(int index) const;
    // The resolution mode that the entry at `position` of the list stands for.
    int ModeAt(int position) const;

    CTaviDlg& m_owner;
    std::vector<int> m_entryModes;  // the resolution mode of each entry now in list 1014
};
