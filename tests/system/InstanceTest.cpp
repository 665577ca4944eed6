// Single instance across real processes: the flock decides, the socket carries the announcement.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

#include "LinuxInstance.h"
#include "SystemTestSupport.h"
#include "UniqueFd.h"

namespace {

using namespace std::chrono_literals;
using platform::LinuxInstance;
using platform::UniqueFd;
using systemtest::Child;
using systemtest::IsolatedTest;
using systemtest::PumpUntil;

struct SecondStartReport {
    bool refused = false;
    bool reached = false;
    long long ms = -1;
};

SecondStartReport RunSecondStart(const std::string& name) {
    Child child({"--second-start", name});
    const auto result = child.Finish(5s);
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    SecondStartReport report;
    std::istringstream in(result.output);
    std::string word;
    in >> word;
    report.refused = word == "refused";
    int reached = 0;
    if (report.refused) in >> reached >> report.ms;
    report.reached = reached == 1;
    return report;
}

// A socket file left by a holder that was killed: it exists, nobody listens.
void LeaveStaleSocket(const std::string& path) {
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
}

class InstanceTest : public IsolatedTest {};

TEST_F(InstanceTest, SecondProcessIsRefusedAndItsAnnouncementReachesTheHolderInTime) {
    LinuxInstance instance;
    std::vector<std::wstring> announced;
    instance.SetAnnouncementHandler([&](std::wstring_view name) { announced.emplace_back(name); });
    LeaveStaleSocket(LinuxInstance::SocketPath(L"VISTREL"));

    auto lock = instance.AcquireSingleInstance(L"VISTREL");
    ASSERT_TRUE(lock);
    // The child runs while this process is busy; its announcement waits in the socket until
    // the main loop runs again, as in the real program.
    const SecondStartReport second = RunSecondStart("VISTREL");
    EXPECT_TRUE(second.refused);
    EXPECT_TRUE(second.reached) << "a stale socket must not hide the holder";
    EXPECT_LE(second.ms, 250) << "the announcement is bounded";
    EXPECT_TRUE(PumpUntil([&] { return !announced.empty(); }, 2s));
    EXPECT_EQ(announced, std::vector<std::wstring>{L"VISTREL"});

    lock.reset();
    EXPECT_FALSE(RunSecondStart("VISTREL").refused) << "a released lock is free for the next start";
}

TEST_F(InstanceTest, HolderIsFoundByNameAndOtherNamesAreIndependent) {
    LinuxInstance instance;
    auto lock = instance.AcquireSingleInstance(L"VISTREL");
    ASSERT_TRUE(lock);
    EXPECT_FALSE(RunSecondStart("OTHER").refused);
    EXPECT_TRUE(RunSecondStart("VISTREL").refused);
    EXPECT_EQ(::access(LinuxInstance::LockPath(L"VISTREL").c_str(), F_OK), 0);
    EXPECT_EQ(LinuxInstance::LockPath(L"VISTREL"), (Folder() / "vistrel-VISTREL.lock").string());
}

TEST_F(InstanceTest, SecondAcquireInTheSameProcessIsRefusedToo) {
    // A lock bound to the process (as fcntl locks are) would let this through.
    LinuxInstance instance;
    auto first = instance.AcquireSingleInstance(L"VISTREL");
    ASSERT_TRUE(first);
    EXPECT_FALSE(instance.AcquireSingleInstance(L"VISTREL"));
    first.reset();
    EXPECT_TRUE(instance.AcquireSingleInstance(L"VISTREL"));
}

TEST_F(InstanceTest, AnnouncementWithNobodyListeningFailsAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    LinuxInstance instance;
    EXPECT_FALSE(instance.AnnounceToRunningInstance(L"VISTREL"));
    LeaveStaleSocket(LinuxInstance::SocketPath(L"VISTREL"));
    EXPECT_FALSE(instance.AnnounceToRunningInstance(L"VISTREL"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
}

// A listener that never accepts, with its queue full: connecting cannot succeed.
class StuckHolder {
public:
    explicit StuckHolder(const std::string& path) : m_fd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        EXPECT_EQ(::bind(m_fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(::listen(m_fd.get(), 0), 0);
        for (int i = 0; i < 8; ++i) {
            UniqueFd client(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0));
            if (::connect(client.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) break;
            m_queued.push_back(std::move(client));
        }
    }
    int fd() const { return m_fd.get(); }

private:
    UniqueFd m_fd;
    std::vector<UniqueFd> m_queued;
};

TEST_F(InstanceTest, AnnouncementToAStuckHolderGivesUpWithinTheBound) {
    StuckHolder stuck(LinuxInstance::SocketPath(L"VISTREL"));
    LinuxInstance instance;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(instance.AnnounceToRunningInstance(L"VISTREL"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(LinuxInstance::kAnnounceTimeoutMs + 100));
}

TEST_F(InstanceTest, AnnouncementGetsThroughWhenABusyHolderCatchesUpInTime) {
    StuckHolder busy(LinuxInstance::SocketPath(L"VISTREL"));
    // The holder takes the waiting connections 50 ms from now, making room in its queue.
    std::thread catchUp([&] {
        std::this_thread::sleep_for(50ms);
        ::fcntl(busy.fd(), F_SETFL, O_NONBLOCK);
        for (int i = 0; i < 8; ++i) {
            const int accepted = ::accept4(busy.fd(), nullptr, nullptr, SOCK_NONBLOCK);
            if (accepted < 0) break;
            ::close(accepted);
        }
    });
    LinuxInstance instance;
    EXPECT_TRUE(instance.AnnounceToRunningInstance(L"VISTREL"));
    catchUp.join();
}

}  // namespace
