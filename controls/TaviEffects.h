// The video effects dialog: each click switches the live picture at once through the main
// window's effect filter; OK only tells the main window to keep the switches.
#pragma once

#include "framework/Dialog.h"

class CTaviDlg;

class CTaviEffects : public CDialog {
public:
    explicit CTaviEffects(CTaviDlg& owner);

    BOOL OnInitDialog() override;

protected:
    void OnBnClickedRed();
    void OnBnClickedGreen();
    void OnBnClickedBlue();
    void OnBnClickedHorMirror();
    void OnBnClickedVerMirror();
    void OnBnClickedBW();
    void OnBnClickedSepia();
    DECLARE_MESSAGE_MAP()

private:
    void ColourClicked(int id, BOOL& member, BOOL other1, BOOL other2);
    void MirrorClicked(int id, BOOL& member);
    void ToneClicked(int id, BOOL& member, int otherId, BOOL& otherMember, int tone);
    void EnableColourBoxes(BOOL enable);
    void SendChannelMask();

    CTaviDlg& m_owner;
};
