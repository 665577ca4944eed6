// The windows the host has created, by handle.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "NativeWindow.h"

namespace platform {

class WindowTable {
public:
    NativeWindow* Find(WindowHandle handle) const;
    NativeWindow& Add(std::unique_ptr<NativeWindow> window);
    // Takes out the window, its children at any depth and the top-level windows it owns (they
    // die with their owner, as owned windows always have). The root comes first.
    std::vector<std::unique_ptr<NativeWindow>> RemoveTree(WindowHandle root);
    std::vector<NativeWindow*> TopLevels() const;
    std::vector<WindowHandle> Handles() const;

private:
    std::unordered_map<WindowHandle, std::unique_ptr<NativeWindow>> m_windows;
};

}  // namespace platform
