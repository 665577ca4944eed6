#include "WindowTable.h"

#include <algorithm>

namespace platform {

NativeWindow* WindowTable::Find(WindowHandle handle) const {
    auto it = m_windows.find(handle);
    return it == m_windows.end() ? nullptr : it->second.get();
}

NativeWindow& WindowTable::Add(std::unique_ptr<NativeWindow> window) {
    auto& slot = m_windows[window->handle];
    slot = std::move(window);
    return *slot;
}

std::vector<std::unique_ptr<NativeWindow>> WindowTable::RemoveTree(WindowHandle root) {
    std::vector<std::unique_ptr<NativeWindow>> removed;
    auto it = m_windows.find(root);
    if (it == m_windows.end()) return removed;
    removed.push_back(std::move(it->second));
    m_windows.erase(it);

    // Each pass takes out the windows hanging from one already taken; trees are shallow.
    const auto hangsFromRemoved = [&](const NativeWindow& w) {
        return std::any_of(removed.begin(), removed.end(), [&](const auto& r) {
            return (w.parent && w.parent == r->handle) || (w.owner && w.owner == r->handle);
        });
    };
    for (bool found = true; found;) {
        found = false;
        for (auto i = m_windows.begin(); i != m_windows.end();) {
            if (hangsFromRemoved(*i->second)) {
                removed.push_back(std::move(i->second));
                i = m_windows.erase(i);
                found = true;
            } else {
                ++i;
            }
        }
    }
    return removed;
}

std::vector<NativeWindow*> WindowTable::TopLevels() const {
    std::vector<NativeWindow*> result;
    for (const auto& [handle, window] : m_windows)
        if (window->IsTopLevel()) result.push_back(window.get());
    return result;
}

std::vector<WindowHandle> WindowTable::Handles() const {
    std::vector<WindowHandle> result;
    result.reserve(m_windows.size());
    for (const auto& [handle, window] : m_windows) result.push_back(handle);
    return result;
}

}  // namespace platform
