#include "SimProcess.h"

namespace platform::sim {

bool SimProcess::Run(const std::vector<std::wstring>& argv) {
    m_runs.push_back(argv);
    return !argv.empty();
}

int SimProcess::RunHiddenAndWait(const std::vector<std::wstring>& argv) {
    m_runs.push_back(argv);
    if (argv.empty()) return -1;
    if (m_exitStatuses.empty()) return 0;
    const int status = m_exitStatuses.front();
    m_exitStatuses.pop_front();
    return status;
}

}  // namespace platform::sim
