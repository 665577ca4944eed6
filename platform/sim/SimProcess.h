// Outside programs are not run under the sim: each start is recorded and answered as scripted.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace platform::sim {

class SimProcess final : public IProcess {
public:
    std::wstring GetModulePath() override { return m_modulePath; }
    bool Run(const std::vector<std::wstring>& argv) override;
    int RunHiddenAndWait(const std::vector<std::wstring>& argv) override;
    [[noreturn]] void ExitProcess(int status) override;

    void SetModulePath(std::wstring path) { m_modulePath = std::move(path); }
    // Exit statuses handed to the next waited-for runs, in order (then 0).
    void QueueExitStatus(int status) { m_exitStatuses.push_back(status); }
    const std::vector<std::vector<std::wstring>>& Runs() const { return m_runs; }
    // Called for each started (not waited-for) program: what the program would have done.
    void SetRunHook(std::function<void(const std::vector<std::wstring>&)> hook) { m_runHook = std::move(hook); }
    // Runs as the process ends, so a death test can say what the program left behind.
    void SetExitHook(std::function<void(int status)> hook) { m_exitHook = std::move(hook); }

private:
    std::wstring m_modulePath = L"/opt/Vistrel/vistrel";
    std::deque<int> m_exitStatuses;
    std::vector<std::vector<std::wstring>> m_runs;
    std::function<void(const std::vector<std::wstring>&)> m_runHook;
    std::function<void(int status)> m_exitHook;
};

}  // namespace platform::sim
