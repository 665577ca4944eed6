#include "PosixProcess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "platform/Strings.h"

extern char** environ;

namespace platform {
namespace {

// Owns the UTF-8 copies that the char* vector points into.
class NativeArgv {
public:
    explicit NativeArgv(const std::vector<std::wstring>& argv) {
        m_strings.reserve(argv.size());
        for (const auto& arg : argv) {
            m_strings.push_back(ToUtf8(arg));
            if (m_strings.back().find('\0') != std::string::npos) m_valid = false;
        }
        for (auto& s : m_strings) m_pointers.push_back(s.data());
        m_pointers.push_back(nullptr);
        if (m_strings.empty() || m_strings.front().empty()) m_valid = false;
    }
    bool valid() const { return m_valid; }
    char* const* get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
    bool m_valid = true;
};

struct SpawnAttributes {
    posix_spawnattr_t attr {};
    SpawnAttributes() {
        ::posix_spawnattr_init(&attr);
        // The child must not inherit what the program set for itself: a signal blocked on the
        // calling thread (GLib and GStreamer threads block some) or ignored (SIGPIPE) would
        // change how the child behaves.
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        ::posix_spawnattr_setsigmask(&attr, &none);
        ::posix_spawnattr_setsigdefault(&attr, &all);
        ::posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    ~SpawnAttributes() { ::posix_spawnattr_destroy(&attr); }
};

struct FileActions {
    posix_spawn_file_actions_t actions {};
    FileActions() { ::posix_spawn_file_actions_init(&actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    ~FileActions() { ::posix_spawn_file_actions_destroy(&actions); }
};

// -1 when the child could not be started. glibc reports a failed exec (missing program) here
// rather than as exit status 127 of the child.
pid_t Spawn(const std::vector<std::wstring>& argv, const posix_spawn_file_actions_t* actions) {
    NativeArgv native(argv);
    if (!native.valid()) return -1;
    SpawnAttributes attributes;
    pid_t pid = -1;
    int error = ::posix_spawnp(&pid, native.get()[0], actions, &attributes.attr, native.get(), environ);
    return error == 0 ? pid : -1;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return status;
}

}  // namespace

std::wstring PosixProcess::GetModulePath() {
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        // readlink does not say whether it truncated: only a result shorter than the buffer is whole.
        if (static_cast<size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<size_t>(length));
            return FromUtf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool PosixProcess::Run(const std::vector<std::wstring>& argv) {
    pid_t pid = Spawn(argv, nullptr);
    if (pid < 0) return false;
    // Someone has to collect the exit status or the child stays a zombie until we exit. A
    // waiting thread per child does it without a SIGCHLD handler, which would fight GLib's own
    // child watching, and without waitpid(-1), which would steal other callers' children.
    try {
        std::thread([pid] { WaitFor(pid); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child runs all the same; it is only left unreaped.
    }
    return true;
}

int PosixProcess::RunHiddenAndWait(const std::vector<std::wstring>& argv) {
    FileActions files;
    ::posix_spawn_file_actions_addopen(&files.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&files.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&files.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = Spawn(argv, &files.actions);
    if (pid < 0) return -1;
    int status = WaitFor(pid);
    if (status < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

void PosixProcess::ExitProcess(int status) {
    std::fflush(nullptr);  // the diagnostic log is written unbuffered; anything else goes out too
    std::_Exit(status);
}

}  // namespace platform
