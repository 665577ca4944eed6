#include "AboutDlg.h"

#include "resources/ResourceIds.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}
