// The user's places under the sim: whatever the test names (none by default); every request
// to open something is kept, and answered as the test says (opened by default). Viewer windows
// are there only when the test puts them there; each request to show one is kept.
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

    std::optional<ViewerWindow> FindViewerWindow(const std::wstring& windowClass, const std::wstring& title) override {
        auto viewer = m_viewers.find({windowClass, title});
        if (viewer == m_viewers.end()) return std::nullopt;
        return viewer->second;
    }
    void ShowViewerWindow(uint64_t id, bool restore) override { m_shownViewers.push_back({id, restore}); }
    void AddViewerWindow(const std::wstring& windowClass, const std::wstring& title, ViewerWindow window) {
        m_viewers[{windowClass, title}] = window;
    }
    struct ShownViewer {
        uint64_t id;
        bool restore;
    };
    const std::vector<ShownViewer>& ShownViewers() const { return m_shownViewers; }

private:
    std::optional<std::wstring> m_documents;
    std::map<std::wstring, int> m_results;
    std::vector<std::wstring> m_opened;
    std::map<std::pair<std::wstring, std::wstring>, ViewerWindow> m_viewers;
    std::vector<ShownViewer> m_shownViewers;
};

}  // namespace platform::sim
