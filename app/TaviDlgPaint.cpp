// The main window's colours, the minimised window's icon and the system commands.
#include "AboutDlg.h"
#include "TaviDlg.h"
#include "controls/GreyColours.h"
#include "framework/Runtime.h"
#include "resources/ResourceIds.h"

HBRUSH CTaviDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    return GreyCtlColor(pDC, nCtlColor, m_brushBack, CDialog::OnCtlColor(pDC, pWnd, nCtlColor));
}

void CTaviDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HICON CTaviDlg::OnQueryDragIcon() { return m_hIcon; }

void CTaviDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
        return;
    }
    // Minimise and restore would ask the desktop compositor to show the window by its icon
    // and to stop again. The desktops here show a minimised window by its icon anyway, so
    // there is nothing to ask for.
    CDialog::OnSysCommand(nID, lParam);
}
