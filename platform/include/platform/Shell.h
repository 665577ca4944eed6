// The user's places as the desktop names them.
#pragma once

#include <optional>
#include <string>

namespace platform {

class IShell {
public:
    virtual ~IShell() = default;
    // The user's documents folder without a trailing separator (not created when absent);
    // nothing when the system cannot name one.
    virtual std::optional<std::wstring> GetDocumentsFolder() = 0;
};

}  // namespace platform
