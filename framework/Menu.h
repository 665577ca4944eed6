// Pop-up menus from menu resources; items are addressed by command id.
#pragma once

#include <memory>
#include <vector>

#include "framework/Afx.h"
#include "platform/UiHost.h"

class CWnd;

inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_RETURNCMD = 0x0100;
inline constexpr UINT kMenuItemNotFound = 0xFFFFFFFF;

class CMenu {
public:
    BOOL LoadMenu(UINT resourceId);
    // The n-th pop-up of a loaded menu; owned by this menu.
    CMenu* GetSubMenu(int position);
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    UINT EnableMenuItem(UINT id, UINT flags);
    UINT CheckMenuItem(UINT id, UINT flags);
    BOOL ModifyMenu(UINT id, UINT flags, UINT_PTR newId, LPCTSTR text);
    BOOL GetMenuString(UINT id, std::wstring& text, UINT flags) const;
    // Shows the menu at a screen point. The chosen command is returned with TPM_RETURNCMD,
    // otherwise posted to the owner as WM_COMMAND.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);
    BOOL DestroyMenu();

    const std::vector<platform::MenuItem>& Items() const { return m_items; }

private:
    platform::MenuItem* Find(UINT id);
    const platform::MenuItem* Find(UINT id) const;

    std::vector<platform::MenuItem> m_items;
    std::vector<std::unique_ptr<CMenu>> m_subMenus;
    CMenu* m_parent = nullptr;
    int m_position = -1;  // in the parent, for sub-menus
};
