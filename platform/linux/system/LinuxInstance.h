// Single instance on Linux: an flock on "<runtime folder>/vistrel-<name>.lock" decides (no bus
// needed, and the kernel drops the lock when the holder dies); the holder listens on a Unix
// socket beside it, where a second start writes the name as one line.
//
// The runtime folder is $XDG_RUNTIME_DIR, or else /tmp/vistrel-<uid>, made private to the user.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Instance.h"

namespace platform {

class LinuxInstance final : public IInstance {
public:
    // A second start gives up on a holder that does not take the line within this time.
    static constexpr int kAnnounceTimeoutMs = 200;

    LinuxInstance();

    std::unique_ptr<IInstanceLock> AcquireSingleInstance(std::wstring_view name) override;
    bool AnnounceToRunningInstance(std::wstring_view name) override;
    void SetAnnouncementHandler(std::function<void(std::wstring_view name)> handler) override;

    // Where the lock and the socket for a name are (empty when no private folder can be had).
    static std::string LockPath(std::wstring_view name);
    static std::string SocketPath(std::wstring_view name);

private:
    using Handler = std::function<void(std::wstring_view)>;
    class Lock;

    // Shared with the locks, which may outlive this object.
    std::shared_ptr<Handler> m_handler;
};

}  // namespace platform
