// The user's places under the sim: whatever the test names (none by default); every request
// to open something is kept, and answered as the test says (opened by default).
#pragma once

#include <map>
#include <vector>

#include "platform/Shell.h"

namespace platform::sim {

class SimShell final : public IShell {
public:
    std::optional<std::wstring> GetDocumentsFolder() override { return m_documents; }
    void SetDocumentsFolder(std::optional<std::wstring> folder) { m_documents = std::move(folder); }

    int Open(const std::wstring& path) override {
        m_opened.push_back(path);
        auto result = m_results.find(path);
        return result == m_results.end() ? kShellOpened : result->second;
    }
    void SetOpenResult(const std::wstring& path, int result) { m_results[path] = result; }
    const std::vector<std::wstring>& Opened() const { return m_opened; }

private:
    std::optional<std::wstring> m_documents;
    std::map<std::wstring, int> m_results;
    std::vector<std::wstring> m_opened;
};

}  // namespace platform::sim
