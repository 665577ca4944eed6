#include "TaviEffects.h"

#include "TaviDlg.h"
#include "framework/Button.h"
#include "resources/DialogTextTable.h"
#include "resources/ResourceIds.h"

namespace {

const DialogTextRow kEffectsTexts[] = {
    {1, IDD_VIDEO_EFFECTS, 6017},    {2, IDC_EFFECT_HOR_LABEL, 6022},  {2, IDC_EFFECT_VER_LABEL, 6023},
    {2, IDC_EFFECT_BW_LABEL, 6024},  {2, IDC_EFFECT_COLOR_GROUP, 6021}, {2, IDC_EFFECT_IMAGE_GROUP, 6020},
    {2, IDC_EFFECT_SEPIA_LABEL, 6025}, {4, IDOK, 6032},               {4, IDCANCEL, 6033},
};

constexpr int kColourBoxes[] = {IDC_EFFECT_RED, IDC_EFFECT_GREEN, IDC_EFFECT_BLUE};

}  // namespace

BEGIN_MESSAGE_MAP(CTaviEffects, CDialog)
    ON_BN_CLICKED(IDC_EFFECT_RED, OnBnClickedRed)
    ON_BN_CLICKED(IDC_EFFECT_GREEN, OnBnClickedGreen)
    ON_BN_CLICKED(IDC_EFFECT_BLUE, OnBnClickedBlue)
    ON_BN_CLICKED(IDC_EFFECT_HOR_MIRROR, OnBnClickedHorMirror)
    ON_BN_CLICKED(IDC_EFFECT_VER_MIRROR, OnBnClickedVerMirror)
    ON_BN_CLICKED(IDC_EFFECT_BW, OnBnClickedBW)
    ON_BN_CLICKED(IDC_EFFECT_SEPIA, OnBnClickedSepia)
END_MESSAGE_MAP()

CTaviEffects::CTaviEffects(CTaviDlg& owner) : CDialog(IDD_VIDEO_EFFECTS, &owner), m_owner(owner) {}

BOOL CTaviEffects::OnInitDialog() {
    CDialog::OnInitDialog();
    ApplyTextTable(*this, kEffectsTexts);
    CheckDlgButton(IDC_EFFECT_RED, m_owner.m_bRed);
    CheckDlgButton(IDC_EFFECT_GREEN, m_owner.m_bGreen);
    CheckDlgButton(IDC_EFFECT_BLUE, m_owner.m_bBlue);
    CheckDlgButton(IDC_EFFECT_BW, m_owner.m_bBW);
    CheckDlgButton(IDC_EFFECT_SEPIA, m_owner.m_bSepia);
    CheckDlgButton(IDC_EFFECT_HOR_MIRROR, m_owner.m_bHorMirror);
    CheckDlgButton(IDC_EFFECT_VER_MIRROR, m_owner.m_bVerMirror);
    if (m_owner.m_bBW || m_owner.m_bSepia) EnableColourBoxes(FALSE);
    return TRUE;
}

void CTaviEffects::OnBnClickedRed() { ColourClicked(IDC_EFFECT_RED, m_owner.m_bRed, m_owner.m_bGreen, m_owner.m_bBlue); }
void CTaviEffects::OnBnClickedGreen() { ColourClicked(IDC_EFFECT_GREEN, m_owner.m_bGreen, m_owner.m_bRed, m_owner.m_bBlue); }
void CTaviEffects::OnBnClickedBlue() { ColourClicked(IDC_EFFECT_BLUE, m_owner.m_bBlue, m_owner.m_bRed, m_owner.m_bGreen); }
void CTaviEffects::OnBnClickedHorMirror() { MirrorClicked(IDC_EFFECT_HOR_MIRROR, m_owner.m_bHorMirror); }
void CTaviEffects::OnBnClickedVerMirror() { MirrorClicked(IDC_EFFECT_VER_MIRROR, m_owner.m_bVerMirror); }
void CTaviEffects::OnBnClickedBW() {
    ToneClicked(IDC_EFFECT_BW, m_owner.m_bBW, IDC_EFFECT_SEPIA, m_owner.m_bSepia, effect::kToneBlackWhite);
}
void CTaviEffects::OnBnClickedSepia() {
    ToneClicked(IDC_EFFECT_SEPIA, m_owner.m_bSepia, IDC_EFFECT_BW, m_owner.m_bBW, effect::kToneSepia);
}

void CTaviEffects::ColourClicked(int id, BOOL& member, BOOL other1, BOOL other2) {
    member = IsDlgButtonChecked(id);
    // The last channel kept stays: a picture with none would be black.
    if (other1 == 0 && other2 == 0) {
        CheckDlgButton(id, BST_CHECKED);
        member = 1;
        return;
    }
    SendChannelMask();
}

void CTaviEffects::MirrorClicked(int id, BOOL& member) {
    member = IsDlgButtonChecked(id);
    const BOOL hor = m_owner.m_bHorMirror;
    const BOOL ver = m_owner.m_bVerMirror;
    m_owner.m_nMirror = hor && ver ? effect::kMirrorBoth
                        : hor      ? effect::kMirrorHorizontal
                        : ver      ? effect::kMirrorVertical
                                   : effect::kMirrorNone;
    if (m_owner.m_pEffect) {
        (void)m_owner.m_pEffect->SetEffect(m_owner.m_nToneEffect, 1, 1, 1);
        (void)m_owner.m_pEffect->SetMirror(m_owner.m_nMirror);
    }
    if (m_owner.m_nToneEffect == effect::kToneNone) SendChannelMask();
}

void CTaviEffects::ToneClicked(int id, BOOL& member, int otherId, BOOL& otherMember, int tone) {
    member = IsDlgButtonChecked(id);
    if (member) {
        if (otherMember == 1) {
            CheckDlgButton(otherId, BST_UNCHECKED);
            otherMember = 0;
        }
        EnableColourBoxes(FALSE);
        m_owner.m_nToneEffect = tone;
        if (m_owner.m_pEffect) {
            (void)m_owner.m_pEffect->SetEffect(tone, 1, 1, 1);
            (void)m_owner.m_pEffect->SetMirror(m_owner.m_nMirror);
        }
    } else {
        EnableColourBoxes(TRUE);
        m_owner.m_nToneEffect = effect::kToneNone;
        SendChannelMask();
    }
}

void CTaviEffects::EnableColourBoxes(BOOL enable) {
    for (int id : kColourBoxes)
        if (CWnd* box = GetDlgItem(id)) box->EnableWindow(enable);
}

void CTaviEffects::SendChannelMask() {
    if (m_owner.m_pEffect)
        (void)m_owner.m_pEffect->SetEffect(effect::kToneChannelMask, m_owner.m_bRed, m_owner.m_bGreen, m_owner.m_bBlue);
}
