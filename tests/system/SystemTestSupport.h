// What the real-backend system tests share: a private environment per test (runtime folder, no
// buses unless a test brings its own), pumping the main loop with a bound, and running this very
// binary as a second process.
#pragma once

#include <glib.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace systemtest {

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void Set(const char* name, const std::string& value);
    void Unset(const char* name);

private:
    void Remember(const char* name);
    std::map<std::string, std::optional<std::string>> m_saved;
};

// A temporary folder as the runtime folder, and no bus anywhere: DBUS_SYSTEM_BUS_ADDRESS points
// at a socket that does not exist and DBUS_SESSION_BUS_ADDRESS is unset.
class IsolatedTest : public testing::Test {
protected:
    IsolatedTest();
    ~IsolatedTest() override;
    const std::filesystem::path& Folder() const { return m_folder; }
    ScopedEnv& Env() { return m_env; }

private:
    std::filesystem::path m_folder;
    ScopedEnv m_env;
};

// Runs the default main context until done() or the time is up; true when done() came true.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
// Runs the default main context for a while, whatever happens.
void PumpFor(std::chrono::milliseconds time);

struct ChildResult {
    int exitStatus = -1;  // -1: did not exit normally (a signal, or not started)
    std::string output;   // its standard output
};

// Runs this test binary in a helper mode (see SystemTestMain.cpp), pumping the main loop while
// it runs; the child is killed after `limit`.
class Child {
public:
    explicit Child(const std::vector<std::string>& helperArgs);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    bool Started() const { return m_pid > 0; }
    int Pid() const { return m_pid; }
    // Waits (pumping the main loop) until the child printed this line.
    bool WaitForLine(const std::string& line, std::chrono::milliseconds limit);
    ChildResult Finish(std::chrono::milliseconds limit);

private:
    void ReadAvailable();
    int m_pid = -1;
    int m_stdout = -1;
    std::string m_output;
    std::optional<int> m_status;
};

// A PCM WAV of a sine tone (16-bit mono).
std::vector<char> MakeWav(int sampleRate, double seconds, double frequency);

}  // namespace systemtest
