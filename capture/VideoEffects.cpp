// Driving the video effect filter, and registering it when the graph cannot find it.
#include "DiagnosticLog.h"
#include "TaviDlg.h"
#include "framework/Runtime.h"
#include "platform/Platform.h"

namespace {

constexpr DWORD kRegistrationPause = 1000;

}  // namespace

void CTaviDlg::ApplyEffects() {
    if (!m_pEffect) return;
    (void)m_pEffect->SetEffect(m_nToneEffect, 1, 1, 1);
    (void)m_pEffect->SetMirror(m_nMirror);
    if (m_nToneEffect == effect::kToneNone) (void)m_pEffect->SetEffect(effect::kToneChannelMask, m_bRed, m_bGreen, m_bBlue);
}

void CTaviDlg::RegisterEffectFilter() {
    // The registration tool beside the program installs the filter for this user; the next
    // lookup of the filter category finds it. Neither its end nor its result is awaited.
    std::wstring folder = g_strExeFolder + platform::kPathSeparator;
    (void)platform::Current().Processes().Run({folder + L"vistrel-regsvr", L"-s", folder + L"Videoeffect.ax"});
    WriteLog("Registering Video Effect...");
    ::Sleep(kRegistrationPause);
}
