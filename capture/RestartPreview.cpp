// Bringing the preview back after the device settings changed what it was built with.
#include "TaviDlg.h"

namespace {

// A build that fails right after a teardown often succeeds at once (the camera was still being
// let go), so the retries follow each other without a pause.
constexpr int kMaxBuildRetries = 3;

// Modes 1 and 2 share the 640 x 480 window; only a change to or from mode 0 changes its size.
bool WindowSizeChanges(int from, int to) {
    if (from == to) return false;
    const bool bothLarge = (from == 1 || from == 2) && (to == 1 || to == 2);
    return !bothLarge;
}

}  // namespace

bool CTaviDlg::PreviewNeedsRestart(bool cameraChanged) const {
    if (m_nCurAudioDevice != m_nAudioDevice || m_nCurVideoDevice != m_nVideoDevice) return true;
    const auto index = static_cast<size_t>(m_nVideoDevice);
    if (m_nVideoDevice >= 0 && index < m_arrVideoDevices.size() && m_arrVideoDevices[index] != m_strCameraName)
        return true;
    return m_nCurResolution != m_nResolution || cameraChanged;
}

void CTaviDlg::RestartPreviewAfterSettings(bool cameraChanged) {
    if (PreviewNeedsRestart(cameraChanged)) {
        m_staticPreview.ShowWindow(SW_HIDE);
        TearDownGraph();
    }
    if (WindowSizeChanges(m_nCurResolution, m_nResolution)) {
        ApplyWindowSize();
        LayoutControls();
    }
    if (PreviewNeedsRestart(cameraChanged)) {
        for (int attempt = 0; attempt <= kMaxBuildRetries; ++attempt) {
            if (SUCCEEDED(BuildGraph(nullptr))) break;
            TearDownGraph();  // the failed graph never ran: no pause, its references let go
        }
    }
    m_staticPreview.ShowWindow(SW_SHOW);
}
