#include "HelpFile.h"

#include "platform/Platform.h"

namespace {

// The help viewer window a help request brings back rather than opening the document again.
constexpr const wchar_t* kHelpViewerClass = L"HH Parent";
constexpr const wchar_t* kHelpViewerTitle = L"Vistrel";
// HTML: every desktop has a viewer for it.
constexpr const wchar_t* kHelpFile = L"Help.html";

}  // namespace

void ShowHelp(const std::wstring& resourceFolder) {
    auto& shell = platform::Current().Shell();
    if (auto viewer = shell.FindViewerWindow(kHelpViewerClass, kHelpViewerTitle)) {
        shell.ShowViewerWindow(viewer->id, viewer->minimized);
        return;
    }
    // The desktop's own handler for the help document; a missing document opens nothing.
    (void)shell.Open(resourceFolder + kHelpFile);
}
