#include "PosixProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/Strings.h"

namespace {

using platform::PosixProcess;

class PosixProcessTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vistrel-process-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        // A child that never shows up would block a FIFO open for ever: fail the run instead.
        ::alarm(60);
    }
    void TearDown() override {
        ::alarm(0);
        std::filesystem::remove_all(m_folder);
    }

    std::wstring Wide(const std::filesystem::path& path) const { return platform::FromUtf8(path.string()); }

    std::filesystem::path m_folder;
    PosixProcess m_process;
};

// The state letter from /proc/<pid>/stat, or 0 once the process is gone (reaped).
char ProcessState(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return 0;
    size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : '?';
}

TEST_F(PosixProcessTest, RunHiddenAndWaitReturnsTheExitStatus) {
    EXPECT_EQ(m_process.RunHiddenAndWait({L"sh", L"-c", L"exit 3"}), 3);
    EXPECT_EQ(m_process.RunHiddenAndWait({L"true"}), 0);
    EXPECT_EQ(m_process.RunHiddenAndWait({L"sh", L"-c", L"kill -KILL $$"}), -1);
}

TEST_F(PosixProcessTest, WhatIsNotThereIsReportedNotStarted) {
    EXPECT_EQ(m_process.RunHiddenAndWait({L"vistrel-no-such-program"}), -1);
    EXPECT_EQ(m_process.RunHiddenAndWait({Wide(m_folder / "missing")}), -1);
    EXPECT_EQ(m_process.RunHiddenAndWait({}), -1);
    EXPECT_FALSE(m_process.Run({L"vistrel-no-such-program"}));
    EXPECT_FALSE(m_process.Run({}));
}

TEST_F(PosixProcessTest, RunHiddenAndWaitPassesArgumentsUnchanged) {
    const std::wstring script = L"test \"$#\" = 2 && test \"$1\" = 'Bild Größe' && test \"$2\" = '*'";
    EXPECT_EQ(m_process.RunHiddenAndWait({L"sh", L"-c", script, L"sh", L"Bild Größe", L"*"}), 0);
}

TEST_F(PosixProcessTest, RunHiddenAndWaitShowsNoOutput) {
    // Our own stdout and stderr go to a file for the length of the call: the child must not reach it.
    auto captured = m_folder / "captured";
    int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    int savedOut = ::dup(STDOUT_FILENO);
    int savedErr = ::dup(STDERR_FILENO);
    ::dup2(file, STDOUT_FILENO);
    ::dup2(file, STDERR_FILENO);
    int status = m_process.RunHiddenAndWait({L"sh", L"-c", L"echo out; echo err >&2; read line; test -z \"$line\""});
    ::dup2(savedOut, STDOUT_FILENO);
    ::dup2(savedErr, STDERR_FILENO);
    ::close(savedOut);
    ::close(savedErr);
    ::close(file);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(std::filesystem::file_size(captured), 0u);
}

TEST_F(PosixProcessTest, RunDoesNotWaitAndLeavesNoZombie) {
    auto started = m_folder / "started";
    auto release = m_folder / "release";
    ASSERT_EQ(::mkfifo(started.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(release.c_str(), 0600), 0);

    // The child tells its pid, then blocks until we let it go: if Run waited, we would never get here.
    ASSERT_TRUE(m_process.Run({L"sh", L"-c", L"echo $$ > \"$1\"; read x < \"$2\"", L"sh", Wide(started), Wide(release)}));
    pid_t child = 0;
    std::ifstream(started) >> child;
    ASSERT_GT(child, 0);
    EXPECT_NE(ProcessState(child), 0);
    EXPECT_NE(ProcessState(child), 'Z');

    std::ofstream(release) << "go\n";
    // The exit is collected on another thread; allow it time, but it must come.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ProcessState(child) != 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    EXPECT_EQ(ProcessState(child), 0) << "child " << child << " was left unreaped";
}

TEST_F(PosixProcessTest, ModulePathNamesThisTestProgram) {
    std::filesystem::path path(platform::ToUtf8(m_process.GetModulePath()));
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_EQ(path.filename(), "vistrel_unit_tests");
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
}

}  // namespace
