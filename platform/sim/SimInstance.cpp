#include "SimInstance.h"

namespace platform::sim {

class SimInstance::Lock final : public IInstanceLock {
public:
    Lock(std::weak_ptr<State> state, std::wstring name) : m_state(std::move(state)), m_name(std::move(name)) {}
    ~Lock() override {
        if (auto state = m_state.lock()) state->heldHere.erase(m_name);
    }

private:
    std::weak_ptr<State> m_state;
    std::wstring m_name;
};

SimInstance::SimInstance() : m_state(std::make_shared<State>()) {}

std::unique_ptr<IInstanceLock> SimInstance::AcquireSingleInstance(std::wstring_view name) {
    const std::wstring key(name);
    const bool free = !IsHeld(key);
    m_state->acquisitions.emplace_back(key, free);
    if (!free) return nullptr;
    m_state->heldHere.insert(key);
    return std::make_unique<Lock>(m_state, key);
}

bool SimInstance::AnnounceToRunningInstance(std::wstring_view name) {
    const std::wstring key(name);
    m_state->announcements.push_back(key);
    if (!m_state->heldHere.contains(key)) return m_state->heldElsewhere.contains(key);
    auto handler = m_state->handler;
    if (handler) handler(key);
    return true;
}

void SimInstance::SetAnnouncementHandler(std::function<void(std::wstring_view name)> handler) {
    m_state->handler = std::move(handler);
}

void SimInstance::SetHeldElsewhere(const std::wstring& name, bool held) {
    if (held)
        m_state->heldElsewhere.insert(name);
    else
        m_state->heldElsewhere.erase(name);
}

void SimInstance::InjectAnnouncement(const std::wstring& name) {
    auto handler = m_state->handler;
    if (handler) handler(name);
}

bool SimInstance::IsHeld(const std::wstring& name) const {
    return m_state->heldHere.contains(name) || m_state->heldElsewhere.contains(name);
}

const std::vector<std::wstring>& SimInstance::Announcements() const { return m_state->announcements; }

const std::vector<std::pair<std::wstring, bool>>& SimInstance::Acquisitions() const {
    return m_state->acquisitions;
}

}  // namespace platform::sim
