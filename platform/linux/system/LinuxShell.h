// The user's places from the desktop's user-dirs settings; folders and documents opened with the
// desktop's default handler (GIO).
#pragma once

#include "platform/Shell.h"

namespace platform {

class LinuxShell final : public IShell {
public:
    std::optional<std::wstring> GetDocumentsFolder() override;
    int Open(const std::wstring& path) override;
};

}  // namespace platform
