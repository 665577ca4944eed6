// One running instance per user: the first start holds a named lock, a second start finds it
// held, tells the running one and ends.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Held while it lives; destroying it lets the next start acquire the name.
class IInstanceLock {
public:
    virtual ~IInstanceLock() = default;
};

class IInstance {
public:
    virtual ~IInstance() = default;
    // The lock, or nothing when another instance holds this name. Called on the UI thread.
    virtual std::unique_ptr<IInstanceLock> AcquireSingleInstance(std::wstring_view name) = 0;
    // Best effort and bounded (about 200 ms): tells the holder of the name that a second start
    // happened. True when the holder was reached.
    [[nodiscard]] virtual bool AnnounceToRunningInstance(std::wstring_view name) = 0;
    // The holder receives announcements here, on its UI thread (an empty function: none).
    virtual void SetAnnouncementHandler(std::function<void(std::wstring_view name)> handler) = 0;
};

}  // namespace platform
