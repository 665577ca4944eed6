// Outside programs are not run under the sim: each start is recorded and answered as scripted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace platform::sim {

class SimProcess final : public IProcess {
public:
    std::wstring GetModulePath() override { return m_modulePath; }
    bool Run(const std::vector<std::wstring>& argv) override;
    int RunHiddenAndWait(const std::vector<std::wstring>& argv) override;

    void SetModulePath(std::wstring path) { m_modulePath = std::move(path); }
    // Exit statuses handed to the next waited-for runs, in order (then 0).
    void QueueExitStatus(int status) { m_exitStatuses.push_back(status); }
    const std::vector<std::vector<std::wstring>>& Runs() const { return m_runs; }

private:
    std::wstring m_modulePath = L"/opt/Vistrel/vistrel";
    std::deque<int> m_exitStatuses;
    std::vector<std::vector<std::wstring>> m_runs;
};

}  // namespace platform::sim
