// The context menu's three settings commands: each runs its dialog and keeps what it changed.
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "framework/WinApp.h"
#include "resources/Catalogue.h"

void CTaviDlg::OnVideoEffects() {
    if (m_dlgEffects.DoModal() == IDOK) SaveSettings();
}

void CTaviDlg::OnDeviceSettings() {
    (void)EnumerateDevices();
    const std::wstring previousName = m_strCameraName;
    bool changed = false;
    if (m_arrVideoDevices.empty()) {
        AfxMessageBox(GetCatalogueText(6001).c_str(), MB_ICONEXCLAMATION);
        return;
    }
    (void)m_dlgDeviceSettings.DoModal();

    const HCURSOR previousCursor = ::SetCursor(::LoadCursor(IDC_WAIT));
    const int chosen = m_nVideoDevice;
    (void)EnumerateDevices();
    m_nVideoDevice = chosen;
    if (m_arrVideoDevices.empty()) {
        m_staticPreview.ShowWindow(SW_SHOW);
        ::SetCursor(previousCursor);
        return;
    }
    // A position before the list is as gone as one past it: the name would be read outside the list.
    if (m_nVideoDevice < 0 || static_cast<size_t>(m_nVideoDevice) >= m_arrVideoDevices.size()) {
        AfxMessageBox(GetCatalogueText(6035).c_str(), MB_ICONEXCLAMATION);
        m_nVideoDevice = 0;
    }
    m_strCameraName = m_arrVideoDevices[static_cast<size_t>(m_nVideoDevice)];
    if (m_strCameraName != previousName) changed = true;
    RestartPreviewAfterSettings(changed);
    ::SetCursor(previousCursor);
}

void CTaviDlg::OnSetSavePath() {
    if (m_dlgSavePath.DoModal() == IDOK) SaveSettings();
    // The free-space check measures the file system that holds the video folder itself.
    m_strVideoDrive = m_strVideoPath;
}
