#include "TaviDlg.h"

#include "framework/Runtime.h"
#include "resources/ResourceIds.h"

HWND g_hMainWnd;

CTaviDlg::CTaviDlg() : CDialog(IDD_VISTREL_DIALOG), m_brushBack(RGB(180, 180, 180)) {
    m_hIcon = LoadIcon(IDR_MAINFRAME);
    m_fontStatus.CreateFont(13, 6, 0, 0, FW_BOLD, FALSE, FALSE, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

CTaviDlg::~CTaviDlg() = default;
