// The user's places from the desktop's user-dirs settings; folders and documents opened with the
// desktop's default handler (GIO); other programs' windows found on an X11 desktop.
#pragma once

#include "platform/Shell.h"

namespace platform {

class LinuxShell final : public IShell {
public:
    std::optional<std::wstring> GetDocumentsFolder() override;
    int Open(const std::wstring& path) override;
    std::optional<ViewerWindow> FindViewerWindow(const std::wstring& windowClass, const std::wstring& title) override;
    void ShowViewerWindow(uint64_t id, bool restore) override;
};

}  // namespace platform
