// The user's places from the desktop's user-dirs settings.
#pragma once

#include "platform/Shell.h"

namespace platform {

class LinuxShell final : public IShell {
public:
    std::optional<std::wstring> GetDocumentsFolder() override;
};

}  // namespace platform
