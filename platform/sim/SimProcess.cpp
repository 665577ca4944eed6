#include "SimProcess.h"

#include <cstdio>
#include <cstdlib>

namespace platform::sim {

bool SimProcess::Run(const std::vector<std::wstring>& argv) {
    m_runs.push_back(argv);
    if (m_runHook && !argv.empty()) m_runHook(argv);
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

// Tests of fatal paths run the program in a death test: the child process really ends.
void SimProcess::ExitProcess(int status) {
    if (m_exitHook) m_exitHook(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

}  // namespace platform::sim
