#include "framework/Menu.h"

#include <functional>

#include "framework/Runtime.h"
#include "framework/Wnd.h"

namespace {

platform::MenuItem* FindIn(std::vector<platform::MenuItem>& items, UINT id) {
    for (platform::MenuItem& item : items) {
        if (!item.subItems.empty()) {
            if (platform::MenuItem* found = FindIn(item.subItems, id)) return found;
        } else if (item.id != 0 && static_cast<UINT>(item.id) == id) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace

BOOL CMenu::LoadMenu(UINT resourceId) {
    const MenuTemplate* menu = AfxRuntime::Get().Resources().FindMenu(static_cast<int>(resourceId));
    if (!menu) return FALSE;
    DestroyMenu();
    m_items = menu->popups;
    return TRUE;
}

CMenu* CMenu::GetSubMenu(int position) {
    if (position < 0 || position >= GetMenuItemCount() || m_items[static_cast<size_t>(position)].subItems.empty())
        return nullptr;
    for (auto& sub : m_subMenus)
        if (sub->m_position == position) return sub.get();
    auto sub = std::make_unique<CMenu>();
    sub->m_parent = this;
    sub->m_position = position;
    m_subMenus.push_back(std::move(sub));
    return m_subMenus.back().get();
}

// A sub-menu's items live in its parent, so changes made through either are the same change.
platform::MenuItem* CMenu::Find(UINT id) {
    if (m_parent) {
        auto& items = m_parent->m_items[static_cast<size_t>(m_position)].subItems;
        return FindIn(items, id);
    }
    return FindIn(m_items, id);
}

const platform::MenuItem* CMenu::Find(UINT id) const { return const_cast<CMenu*>(this)->Find(id); }

UINT CMenu::EnableMenuItem(UINT id, UINT flags) {
    platform::MenuItem* item = Find(id);
    if (!item) return kMenuItemNotFound;
    const UINT previous = item->grayed ? MF_GRAYED : MF_ENABLED;
    item->grayed = flags & (MF_GRAYED | MF_DISABLED);
    return previous;
}

UINT CMenu::CheckMenuItem(UINT id, UINT flags) {
    platform::MenuItem* item = Find(id);
    if (!item) return kMenuItemNotFound;
    const UINT previous = item->checked ? MF_CHECKED : MF_UNCHECKED;
    item->checked = flags & MF_CHECKED;
    return previous;
}

BOOL CMenu::ModifyMenu(UINT id, UINT flags, UINT_PTR newId, LPCTSTR text) {
    platform::MenuItem* item = Find(id);
    if (!item) return FALSE;
    item->id = static_cast<int>(newId);
    item->text = text ? text : L"";
    item->grayed = flags & (MF_GRAYED | MF_DISABLED);
    item->checked = flags & MF_CHECKED;
    return TRUE;
}

BOOL CMenu::GetMenuString(UINT id, std::wstring& text, UINT) const {
    const platform::MenuItem* item = Find(id);
    if (!item) return FALSE;
    text = item->text;
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) {
    const std::vector<platform::MenuItem>& items =
        m_parent ? m_parent->m_items[static_cast<size_t>(m_position)].subItems : m_items;
    const HWND ownerHwnd = owner ? owner->GetSafeHwnd() : HWND{};
    const int chosen = AfxRuntime::Get().Ui().TrackPopupMenu(ownerHwnd, items, {x, y});
    if (flags & TPM_RETURNCMD) return chosen;
    if (chosen != 0 && ownerHwnd) ::PostMessage(ownerHwnd, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(chosen), 0), 0);
    return TRUE;
}

BOOL CMenu::DestroyMenu() {
    m_items.clear();
    m_subMenus.clear();
    return TRUE;
}
