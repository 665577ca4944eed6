// The end of a desktop session reaches a program as SIGTERM (or SIGHUP): a program registered
// for session events hears a log-off and then ends normally, like a session's end elsewhere;
// a message box open at that moment gives way.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
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

// A program asked to end while a message box waits for an answer: the box gives way with the
// answer of its close button, so the program goes on to its end instead of waiting for ever.
TEST_F(IsolatedTest, TerminationClosesAnOpenMessageBox) {
    if (!gdk_display_get_default()) GTEST_SKIP() << "needs an X display (ctest runs this under xvfb-run)";
    Child child({"--box-then-terminate"});
    ASSERT_TRUE(child.WaitForLine("ready", 5s));
    ASSERT_EQ(::kill(child.Pid(), SIGTERM), 0);
    const auto result = child.Finish(5s);
    EXPECT_EQ(result.exitStatus, 0) << "the box held the program (3: given up after 20 s)";
    EXPECT_EQ(result.output, "ready\nterminate\nanswer 2\nended\n");
}

}  // namespace
