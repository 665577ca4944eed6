#include "DeviceSettings.h"

#include "CapabilityCode.h"
#include "TaviDlg.h"
#include "framework/DataExchange.h"
#include "resources/DialogTextTable.h"
#include "resources/ResourceIds.h"

namespace {

const DialogTextRow kDeviceTexts[] = {
    {1, IDD_DEVICE_SETTINGS, 6018}, {2, IDC_DEVICE_RESOLUTION_LABEL, 6026}, {2, static_cast<UINT>(IDC_STATIC), 6027},
    {2, IDC_DEVICE_AUDIO_LABEL, 6028}, {4, IDC_DEVICE_OK, 6032},          {4, IDC_DEVICE_CANCEL, 6033},
};

struct Resolution {
    int bit;
    const wchar_t* text;
    int mode;  // the resolution mode that means this frame size
};
constexpr Resolution kResolutions[] = {
    {kCapsSmall, L"352 X 288", 0}, {kCapsMedium, L"640 X 480", 1}, {kCapsLarge, L"1280 X 1024", 2}, {kCapsNtsc, L"720 X 480", 8}};

// The codes whose list positions are their modes (and 8, whose one entry is mode 8).
bool PositionIsMode(int code) { return code == 1 || code == 3 || code == 7; }

}  // namespace

BEGIN_MESSAGE_MAP(CDeviceSettings, CDialog)
    ON_BN_CLICKED(IDC_DEVICE_OK, OnBnClickedOk)
    ON_BN_CLICKED(IDC_DEVICE_CANCEL, OnBnClickedCancel)
    ON_CBN_SELCHANGE(IDC_DEVICE_VIDEO, OnSelChangeVideo)
    ON_CBN_SELCHANGE(IDC_DEVICE_AUDIO, OnSelChangeAudio)
    ON_CBN_SELCHANGE(IDC_DEVICE_RESOLUTION, OnSelChangeResolution)
END_MESSAGE_MAP()

CDeviceSettings::CDeviceSettings(CTaviDlg& owner) : CDialog(IDD_DEVICE_SETTINGS, &owner), m_owner(owner) {}

void CDeviceSettings::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_VIDEO, m_cbVideo);
    DDX_Control(pDX, IDC_DEVICE_AUDIO, m_cbAudio);
    DDX_Control(pDX, IDC_DEVICE_RESOLUTION, m_cbResolution);
    DDX_Control(pDX, IDC_DEVICE_OK, m_btnOk);
    DDX_Control(pDX, IDC_DEVICE_CANCEL, m_btnCancel);
}

// A camera the list knows no code for (no entry, an entry without one, or no camera selected)
// is offered the size every camera here is asked for first.
int CDeviceSettings::ListCode(int index) const {
    const int code = CapabilityCode(m_owner.m_arrResolutionCaps, index);
    return code == kCapsNone ? kCapsMedium : code;
}

int CDeviceSettings::ModeAt(int position) const {
    if (position < 0 || static_cast<size_t>(position) >= m_entryModes.size()) return m_owner.m_nResolution;
    return m_entryModes[static_cast<size_t>(position)];
}

BOOL CDeviceSettings::OnInitDialog() {
    CDialog::OnInitDialog();
    ApplyTextTable(*this, kDeviceTexts);

    for (const std::wstring& camera : m_owner.m_arrVideoDevices) m_cbVideo.AddString(camera.c_str());
    for (size_t i = 0; i < m_owner.m_arrVideoDevices.size(); ++i) {
        if (m_owner.m_arrVideoDevices[i] == m_owner.m_strCameraName) {
            m_owner.m_nVideoDevice = static_cast<int>(i);
            break;
        }
    }
    m_cbVideo.SetCurSel(m_owner.m_nVideoDevice);

    for (const std::wstring& microphone : m_owner.m_arrAudioDevices) m_cbAudio.AddString(microphone.c_str());
    m_cbAudio.SetCurSel(m_owner.m_nAudioDevice);

    OnSelChangeVideo();
    m_nSavedResolution = m_nSelResolution;

    const int code = ListCode(m_nSelVideo);
    if (code == kCapsNtsc) {
        m_cbResolution.SetCurSel(0);
    } else if (PositionIsMode(code)) {
        if (const int n = ModeCount(code); m_owner.m_nResolution >= n) m_owner.m_nResolution = n - 1;
        m_cbResolution.SetCurSel(m_owner.m_nResolution);
        m_nSavedResolution = m_owner.m_nResolution;
    } else {
        // Other codes list sizes whose positions are not their modes: the entry of the mode in
        // use is shown, and the mode is left alone when the camera does not list it.
        int position = 0;
        for (size_t i = 0; i < m_entryModes.size(); ++i)
            if (m_entryModes[i] == m_owner.m_nResolution) position = static_cast<int>(i);
        m_cbResolution.SetCurSel(position);
        m_nSavedResolution = position;
    }

    m_nSelVideo = m_owner.m_nVideoDevice;
    m_nSelAudio = m_owner.m_nAudioDevice;
    return TRUE;
}

void CDeviceSettings::OnSelChangeVideo() {
    m_nSelVideo = m_cbVideo.GetCurSel();
    m_cbResolution.ResetContent();
    m_entryModes.clear();
    const int code = ListCode(m_nSelVideo);
    for (const Resolution& resolution : kResolutions) {
        if (!(code & resolution.bit)) continue;
        m_cbResolution.AddString(resolution.text);
        m_entryModes.push_back(resolution.mode);
    }
    if (code == kCapsNtsc) m_nSelResolution = 0;
    if (m_nSelResolution >= m_cbResolution.GetCount()) m_nSelResolution = 0;
    m_cbResolution.SetCurSel(m_nSelResolution);
}

void CDeviceSettings::OnSelChangeAudio() { m_nSelAudio = m_cbAudio.GetCurSel(); }

void CDeviceSettings::OnSelChangeResolution() { m_nSelResolution = m_cbResolution.GetCurSel(); }

void CDeviceSettings::OnBnClickedOk() {
    m_owner.m_nVideoDevice = m_nSelVideo;
    m_owner.m_nAudioDevice = m_nSelAudio;
    const int code = ListCode(m_nSelVideo);
    if (code == kCapsNtsc) {
        m_owner.m_nResolution = m_nSelResolution = 8;
    } else {
        m_nSelResolution = m_cbResolution.GetCurSel();
        // The stored mode must mean the size the user picked, whatever its place in the list.
        m_owner.m_nResolution = PositionIsMode(code) ? m_nSelResolution : ModeAt(m_nSelResolution);
    }
    EndDialog(1);
}

void CDeviceSettings::OnBnClickedCancel() {
    m_nSelResolution = m_nSavedResolution;
    EndDialog(0);
}

BOOL CDeviceSettings::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == static_cast<WPARAM>(VK_ESCAPE)) {
        OnBnClickedCancel();
        return TRUE;
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == static_cast<WPARAM>(VK_RETURN)) {
        OnBnClickedOk();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
