#include "SystemTestSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace systemtest {

ScopedEnv::~ScopedEnv() {
    for (auto& [name, value] : m_saved) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
}

void ScopedEnv::Remember(const char* name) {
    if (m_saved.contains(name)) return;
    const char* old = std::getenv(name);
    m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
}

void ScopedEnv::Set(const char* name, const std::string& value) {
    Remember(name);
    ::setenv(name, value.c_str(), 1);
}

void ScopedEnv::Unset(const char* name) {
    Remember(name);
    ::unsetenv(name);
}

IsolatedTest::IsolatedTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vistrel-system-XXXXXX").string();
    if (::mkdtemp(pattern.data())) m_folder = pattern;
    m_env.Set("XDG_RUNTIME_DIR", m_folder.string());
    m_env.Set("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + (m_folder / "no-system-bus").string());
    m_env.Unset("DBUS_SESSION_BUS_ADDRESS");
}

IsolatedTest::~IsolatedTest() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void PumpFor(std::chrono::milliseconds time) {
    PumpUntil([] { return false; }, time);
}

Child::Child(const std::vector<std::string>& helperArgs) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    std::vector<std::string> args{"/proc/self/exe"};
    args.insert(args.end(), helperArgs.begin(), helperArgs.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_stdout = out[0];
    ::fcntl(m_stdout, F_SETFL, O_NONBLOCK);
}

Child::~Child() {
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (m_stdout >= 0) ::close(m_stdout);
}

void Child::ReadAvailable() {
    char buffer[512];
    ssize_t n;
    while ((n = ::read(m_stdout, buffer, sizeof(buffer))) > 0) m_output.append(buffer, size_t(n));
}

bool Child::WaitForLine(const std::string& line, std::chrono::milliseconds limit) {
    return PumpUntil(
        [&] {
            ReadAvailable();
            return m_output.find(line + "\n") != std::string::npos;
        },
        limit);
}

ChildResult Child::Finish(std::chrono::milliseconds limit) {
    ChildResult result;
    if (m_pid <= 0) return result;
    PumpUntil(
        [&] {
            ReadAvailable();
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) m_status = status;
            return m_status.has_value();
        },
        limit);
    ReadAvailable();
    result.output = m_output;
    if (m_status && WIFEXITED(*m_status)) result.exitStatus = WEXITSTATUS(*m_status);
    return result;
}

std::vector<char> MakeWav(int sampleRate, double seconds, double frequency) {
    const uint32_t samples = uint32_t(sampleRate * seconds);
    const uint32_t dataBytes = samples * 2;
    std::vector<char> wav;
    auto put = [&](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav.push_back(char((value >> (8 * i)) & 0xFF));
    };
    auto tag = [&](const char* t) { wav.insert(wav.end(), t, t + 4); };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(uint32_t(sampleRate), 4);
    put(uint32_t(sampleRate * 2), 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (uint32_t i = 0; i < samples; ++i)
        put(uint16_t(int16_t(8000 * std::sin(2 * M_PI * frequency * i / sampleRate))), 2);
    return wav;
}

}  // namespace systemtest
