#include "SimMediaFailures.h"

namespace platform::sim {

void SimMediaFailures::Fail(std::string operation, HRESULT code, int times) {
    if (times == 0) {
        m_switches.erase(operation);
        return;
    }
    m_switches[std::move(operation)] = {code, times};
}

HRESULT SimMediaFailures::Check(const std::string& operation) {
    ++m_attempts[operation];
    auto it = m_switches.find(operation);
    if (it == m_switches.end()) return S_OK;
    const HRESULT code = it->second.code;
    if (it->second.remaining > 0 && --it->second.remaining == 0) m_switches.erase(it);
    return code;
}

int SimMediaFailures::Attempts(const std::string& operation) const {
    auto it = m_attempts.find(operation);
    return it == m_attempts.end() ? 0 : it->second;
}

}  // namespace platform::sim
