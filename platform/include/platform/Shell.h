// The user's places as the desktop names them, and opening them with the desktop's handler.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Results of IShell::Open, as the program reads them: above kShellOpenedAbove means opened.
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellAccessDenied = 5;
inline constexpr int kShellNoHandler = 31;
inline constexpr int kShellOpenedAbove = 32;
inline constexpr int kShellOpened = 42;

// A document viewer's window on the desktop, as the lookup found it.
struct ViewerWindow {
    uint64_t id = 0;
    bool minimized = false;
};

class IShell {
public:
    virtual ~IShell() = default;
    // The user's documents folder without a trailing separator (not created when absent);
    // nothing when the system cannot name one.
    virtual std::optional<std::wstring> GetDocumentsFolder() = 0;
    // Opens a folder or document with the desktop's handler for it, without waiting for the
    // handler: kShellOpened, or why not (a path ending in a separator names a folder).
    [[nodiscard]] virtual int Open(const std::wstring& path) = 0;
    // A top-level window of another program with this window class and title; nothing when the
    // desktop shows none (or cannot tell).
    virtual std::optional<ViewerWindow> FindViewerWindow(const std::wstring& windowClass, const std::wstring& title) = 0;
    // Restores a minimised viewer window (restore) or brings it to the top of the desktop.
    virtual void ShowViewerWindow(uint64_t id, bool restore) = 0;
};

}  // namespace platform
