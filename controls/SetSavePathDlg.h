// The save path dialog: the image and video folders, changed only through the folder browser;
// folders on removable drives are refused.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/Edit.h"

class CTaviDlg;

// Shared between a browse and its callback: the folder the browser opens at, and the folder
// selected last. The path is kept whole: a folder cut to a fixed length would be another folder.
extern std::wstring g_strBrowseStart;
extern std::wstring g_szBrowsePath;

class CSetSavePathDlg : public CDialog {
public:
    explicit CSetSavePathDlg(CTaviDlg& owner);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Members, in declaration order.
    CEdit m_editImagePath;
    CEdit m_editVideoPath;

protected:
    void OnBnClickedBrowseImage();
    void OnBnClickedBrowseVideo();
    void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

private:
    enum class Which { Image, Video };
    void BrowseForFolder(Which which);

    CTaviDlg& m_owner;
};
