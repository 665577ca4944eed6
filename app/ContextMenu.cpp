// The context menu on the preview and the camera's own property pages.
#include "Recording.h"
#include "TaviDlg.h"
#include "framework/Menu.h"
#include "platform/Platform.h"
#include "resources/Catalogue.h"
#include "resources/ResourceIds.h"

void CTaviDlg::OnContextMenu(CWnd*, CPoint point) {
    // While the preview is brought back after a sleep, nothing else may build a graph.
    if (!m_staticPreview.IsWindowVisible() || g_bGraphBusy) return;
    CRect preview;
    m_staticPreview.GetWindowRect(&preview);
    // Asked for from the keyboard: the menu opens at the middle of the preview.
    if (point.x == -1 && point.y == -1) point = {(preview.left + preview.right) / 2, (preview.top + preview.bottom) / 2};
    if (!preview.Contains(point)) return;

    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENU)) return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup) return;
    constexpr struct {
        UINT command;
        uint32_t message;
    } kTexts[] = {{ID_CAM_SETTING, 6016}, {ID_VIDEO_EFFECTS, 6017}, {ID_DEVICE_SETTINGS, 6018}, {ID_SET_SAVE_PATH, 6019}};
    for (const auto& item : kTexts)
        (void)popup->ModifyMenu(item.command, MF_BYCOMMAND | MF_STRING, item.command, GetCatalogueText(item.message).c_str());
    if (m_bRecording) {
        (void)popup->EnableMenuItem(ID_DEVICE_SETTINGS, MF_BYCOMMAND | MF_GRAYED);
        (void)popup->EnableMenuItem(ID_SET_SAVE_PATH, MF_BYCOMMAND | MF_GRAYED);
    }
    (void)popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    (void)menu.DestroyMenu();
}

void CTaviDlg::OnCamSetting() { (void)ShowCameraProperties(); }

HRESULT CTaviDlg::ShowCameraProperties() {
    if (!m_pGraph) return E_FAIL;
    ComPtr<IBaseFilter> camera;
    if (FAILED(m_pGraph->FindFilterByName(L"Cap", camera)) || !camera) return 1;
    ComPtr<ISpecifyPropertyPages> pages;
    if (FAILED(camera.As(pages)) || !pages) return 0;
    std::vector<GUID> pageIds;
    if (FAILED(pages->GetPages(pageIds))) return 0;
    std::wstring name;  // asked for as the frame expects; the caption is the catalogue's
    (void)camera->QueryFilterInfo(name);
    ComPtr<IUnknown> object;
    (void)camera.As(object);
    (void)platform::Current().Media().ShowPropertyFrame(m_hWnd, 0, 0, GetCatalogueText(6034), object.Get(), pageIds);
    return 0;
}
