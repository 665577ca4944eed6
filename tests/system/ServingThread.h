// A thread with a main context of its own on which fake services answer, so the code under test
// can call them synchronously from the test's thread.
#pragma once

#include <glib.h>

#include <atomic>
#include <functional>
#include <thread>

namespace systemtest {

class ServingThread {
public:
    // Runs `setup` on the new thread, with the thread's context as its default, and returns once
    // it is done, so a fake is complete when constructed. The thread serves only when setup
    // succeeded; `finish` runs on it last either way, to close what setup opened.
    ServingThread(const std::function<bool()>& setup, std::function<void()> finish);
    ~ServingThread();  // stops serving and waits for `finish`
    ServingThread(const ServingThread&) = delete;
    ServingThread& operator=(const ServingThread&) = delete;

    bool Ready() const { return m_ready; }

private:
    GMainContext* m_context;
    std::function<void()> m_finish;
    std::atomic<bool> m_stop{false};
    bool m_ready = false;
    std::thread m_thread;
};

}  // namespace systemtest
