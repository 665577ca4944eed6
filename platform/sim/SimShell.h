// The user's places under the sim: whatever the test names (none by default).
#pragma once

#include "platform/Shell.h"

namespace platform::sim {

class SimShell final : public IShell {
public:
    std::optional<std::wstring> GetDocumentsFolder() override { return m_documents; }
    void SetDocumentsFolder(std::optional<std::wstring> folder) { m_documents = std::move(folder); }

private:
    std::optional<std::wstring> m_documents;
};

}  // namespace platform::sim
