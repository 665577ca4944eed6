// Opening folders and documents with the desktop's handler, and the free space of a folder's
// file system, on the real backend.
#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "PosixVolumes.h"
#include "platform/Shell.h"
#include "SystemTestSupport.h"
#include "platform/Strings.h"

namespace {

using platform::FromUtf8;
using systemtest::IsolatedTest;
using systemtest::PumpUntil;

// A desktop whose handler for folders and for HTML writes what it was given into a file.
class ShellTest : public IsolatedTest {
protected:
    ShellTest() {
        const auto data = Folder() / "data";
        std::filesystem::create_directories(data / "applications");
        std::ofstream(data / "applications" / "recorder.desktop")
            << "[Desktop Entry]\nType=Application\nName=Recorder\nMimeType=inode/directory;text/html;\n"
            << "Exec=sh -c 'echo \"$1\" >> " << Opened().string() << "' sh %u\n";
        std::filesystem::create_directories(Folder() / "config");
        std::ofstream(Folder() / "config" / "mimeapps.list")
            << "[Default Applications]\ninode/directory=recorder.desktop\ntext/html=recorder.desktop\n";
        Env().Set("XDG_DATA_HOME", data.string());
        Env().Set("XDG_CONFIG_HOME", (Folder() / "config").string());
        // The system's MIME database tells an HTML file by its name; the defaults above win.
        Env().Set("XDG_DATA_DIRS", "/usr/share");
        std::filesystem::create_directories(Folder() / "there");
        std::ofstream(Folder() / "there" / "help.html") << "<html></html>";
    }
    std::filesystem::path Opened() const { return Folder() / "opened.txt"; }
    std::wstring Path(const std::string& relative) const { return FromUtf8((Folder() / relative).string()); }
    std::string OpenedText() const {
        std::ifstream in(Opened());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The results, one per path, from a process that reads this test's desktop.
    std::vector<int> Open(const std::vector<std::string>& relative) {
        std::vector<std::string> args{"--open"};
        for (const auto& path : relative) args.push_back((Folder() / path).string());
        systemtest::Child child(args);
        std::istringstream lines(child.Finish(std::chrono::seconds(10)).output);
        std::vector<int> results;
        for (int result; lines >> result;) results.push_back(result);
        return results;
    }
};

TEST_F(ShellTest, MissingPathsAreToldApartAndExistingOnesGoToTheHandler) {
    using namespace platform;
    EXPECT_EQ(Open({"gone/", "gone/help.html", "there/missing.html", "there/", "there/help.html"}),
              (std::vector<int>{kShellPathNotFound, kShellPathNotFound, kShellFileNotFound, kShellOpened, kShellOpened}));
    ASSERT_TRUE(PumpUntil([&] { return std::ranges::count(OpenedText(), '\n') >= 2; }, std::chrono::seconds(5)))
        << OpenedText();
    EXPECT_NE(OpenedText().find((Folder() / "there").string() + "\n"), std::string::npos) << OpenedText();
    EXPECT_NE(OpenedText().find("there/help.html"), std::string::npos) << OpenedText();
}

TEST_F(ShellTest, APathNoHandlerTakesIsNotReportedAsOpened) {
    std::filesystem::remove(Folder() / "data" / "applications" / "recorder.desktop");
    std::ofstream(Folder() / "there" / "notes.vistrel-unknown") << "?";
    EXPECT_EQ(Open({"there/notes.vistrel-unknown"}), std::vector<int>{platform::kShellNoHandler});
}

TEST(VolumesTest, FreeSpaceIsWhatThisUserMayWriteAndAMissingFolderHasNone) {
    platform::PosixVolumes volumes;
    struct statvfs fs {};
    ASSERT_EQ(statvfs("/tmp", &fs), 0);
    auto free = volumes.FreeBytes(L"/tmp/");
    ASSERT_TRUE(free);
    // Other processes write meanwhile: the figure is the user's share, not the superuser's.
    EXPECT_NEAR(double(*free), double(fs.f_bavail) * double(fs.f_frsize), 64.0 * 1024 * 1024);
    EXPECT_FALSE(volumes.FreeBytes(L"/tmp/vistrel-no-such-folder/"));
    EXPECT_FALSE(volumes.FreeBytes(L""));
}

}  // namespace
