// Single instance under the sim: one sim is one machine. A name is held while a lock object of
// this sim lives, or while the test says another process holds it.
#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Instance.h"

namespace platform::sim {

class SimInstance final : public IInstance {
public:
    SimInstance();

    std::unique_ptr<IInstanceLock> AcquireSingleInstance(std::wstring_view name) override;
    // Recorded; reaches the handler when a lock of this sim holds the name.
    bool AnnounceToRunningInstance(std::wstring_view name) override;
    void SetAnnouncementHandler(std::function<void(std::wstring_view name)> handler) override;

    // Another (unseen) process holds the name, or no longer does.
    void SetHeldElsewhere(const std::wstring& name, bool held);
    // A second start elsewhere announced itself: the handler gets it at once.
    void InjectAnnouncement(const std::wstring& name);

    bool IsHeld(const std::wstring& name) const;
    const std::vector<std::wstring>& Announcements() const;
    // Every acquisition attempt, in order, with whether it got the lock.
    const std::vector<std::pair<std::wstring, bool>>& Acquisitions() const;

private:
    // Shared with the lock objects, which may outlive this object.
    struct State {
        std::set<std::wstring> heldHere;
        std::set<std::wstring> heldElsewhere;
        std::function<void(std::wstring_view)> handler;
        std::vector<std::wstring> announcements;
        std::vector<std::pair<std::wstring, bool>> acquisitions;
    };
    class Lock;

    std::shared_ptr<State> m_state;
};

}  // namespace platform::sim
