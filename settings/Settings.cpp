// Stand-in for the settings store: nothing is read or written yet; the effect codes are
// derived from the switches as the store will derive them.
#include "TaviDlg.h"

void CTaviDlg::LoadSettings() {
    m_nToneEffect = m_bBW ? 1 : (m_bSepia ? 6 : 0);
    m_nMirror = m_bHorMirror && m_bVerMirror ? 2 : (m_bHorMirror ? 4 : (m_bVerMirror ? 6 : 0));
    if (m_nResolution == 0) m_bSmallWindow = 1;
}

void CTaviDlg::SaveSettings() { m_strSaveCamera = m_strCameraName; }
