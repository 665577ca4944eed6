#include "SetSavePathDlg.h"

#include "TaviDlg.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"
#include "resources/DialogTextTable.h"
#include "resources/ResourceIds.h"

std::wstring g_strBrowseStart;
std::wstring g_szBrowsePath;

namespace {

const DialogTextRow kSavePathTexts[] = {
    {1, IDD_SET_SAVE_PATH, 6019},      {2, IDC_SAVE_IMAGE_LABEL, 6029},  {2, IDC_SAVE_VIDEO_LABEL, 6030},
    {4, IDC_SAVE_BROWSE_IMAGE, 6031}, {4, IDC_SAVE_BROWSE_VIDEO, 6031}, {4, IDOK, 6032},
    {4, IDCANCEL, 6033},
};

// Opens the browser at the current folder and keeps every folder the user moves the selection to.
int BrowseCallback(platform::FolderBrowserEvent event, std::wstring& path) {
    switch (event) {
        case platform::FolderBrowserEvent::Initialized:
            if (!g_strBrowseStart.empty()) path = g_strBrowseStart;
            break;
        case platform::FolderBrowserEvent::SelectionChanged:
            g_szBrowsePath = path;
            break;
    }
    return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSetSavePathDlg, CDialog)
    ON_BN_CLICKED(IDC_SAVE_BROWSE_IMAGE, OnBnClickedBrowseImage)
    ON_BN_CLICKED(IDC_SAVE_BROWSE_VIDEO, OnBnClickedBrowseVideo)
    ON_BN_CLICKED(IDOK, OnBnClickedOk)
END_MESSAGE_MAP()

CSetSavePathDlg::CSetSavePathDlg(CTaviDlg& owner) : CDialog(IDD_SET_SAVE_PATH, &owner), m_owner(owner) {}

void CSetSavePathDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SAVE_IMAGE_PATH, m_editImagePath);
    DDX_Control(pDX, IDC_SAVE_VIDEO_PATH, m_editVideoPath);
}

BOOL CSetSavePathDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ApplyTextTable(*this, kSavePathTexts);
    m_editImagePath.SetWindowText(m_owner.m_strImagePath.c_str());
    m_editVideoPath.SetWindowText(m_owner.m_strVideoPath.c_str());
    return TRUE;
}

void CSetSavePathDlg::OnBnClickedBrowseImage() { BrowseForFolder(Which::Image); }
void CSetSavePathDlg::OnBnClickedBrowseVideo() { BrowseForFolder(Which::Video); }

void CSetSavePathDlg::BrowseForFolder(Which which) {
    g_strBrowseStart = which == Which::Image ? m_owner.m_strImagePath : m_owner.m_strVideoPath;
    auto& ui = platform::Current().Ui();
    const bool chosen = ui.BrowseForFolder(m_hWnd, GetCatalogueText(6040),
                                           [](platform::FolderBrowserEvent event, std::wstring& path) {
                                               (void)BrowseCallback(event, path);
                                           });
    if (!chosen) return;
    if (g_szBrowsePath.empty() || g_szBrowsePath.back() != platform::kPathSeparator)
        g_szBrowsePath += platform::kPathSeparator;
    if (platform::Current().Volumes().GetDriveType(g_szBrowsePath) == platform::DriveType::Removable) {
        MessageBox(GetCatalogueText(6045).c_str(), nullptr, MB_ICONEXCLAMATION);
        return;
    }
    (which == Which::Image ? m_editImagePath : m_editVideoPath).SetWindowText(g_szBrowsePath.c_str());
}

void CSetSavePathDlg::OnBnClickedOk() {
    m_owner.m_strVideoPath = m_editVideoPath.GetWindowText();
    m_owner.m_strImagePath = m_editImagePath.GetWindowText();
    EndDialog(IDOK);
}

BOOL CSetSavePathDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == static_cast<WPARAM>(VK_RETURN)) {
        OnBnClickedOk();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
