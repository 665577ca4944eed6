// The end of a desktop session reaches a program as SIGTERM (or SIGHUP): a program registered
// for session events hears a log-off and then ends normally, like a session's end elsewhere.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>

#include "SystemTestSupport.h"

namespace {

using namespace std::chrono_literals;
using systemtest::Child;
using systemtest::IsolatedTest;

class LogoffSignalTest : public IsolatedTest, public testing::WithParamInterface<int> {};

TEST_P(LogoffSignalTest, SignalIsALogoffToEachRegisteredWindowAndTheProcessEndsWithZero) {
    Child child({"--wait-for-logoff"});
    ASSERT_TRUE(child.WaitForLine("ready", 5s));
    ASSERT_EQ(::kill(child.Pid(), GetParam()), 0);
    const auto result = child.Finish(5s);
    EXPECT_EQ(result.exitStatus, 0) << "killed by the signal instead of ending";
    EXPECT_EQ(result.output, "ready\nlogoff 5\nended\n");
}

INSTANTIATE_TEST_SUITE_P(TermAndHangUp, LogoffSignalTest, testing::Values(SIGTERM, SIGHUP));

}  // namespace
