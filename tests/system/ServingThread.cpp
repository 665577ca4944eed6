#include "ServingThread.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace systemtest {

ServingThread::ServingThread(const std::function<bool()>& setup, std::function<void()> finish)
    : m_context(g_main_context_new()), m_finish(std::move(finish)) {
    std::mutex started;
    std::condition_variable cv;
    bool done = false;
    m_thread = std::thread([&] {
        g_main_context_push_thread_default(m_context);
        m_ready = setup();
        {
            std::lock_guard lock(started);
            done = true;
            cv.notify_all();  // under the lock: the waiter's locals live until it is released
        }
        while (m_ready && !m_stop) g_main_context_iteration(m_context, TRUE);
        m_finish();
        g_main_context_pop_thread_default(m_context);
    });
    std::unique_lock lock(started);
    cv.wait(lock, [&] { return done; });
}

ServingThread::~ServingThread() {
    m_stop = true;
    g_main_context_wakeup(m_context);
    m_thread.join();
    g_main_context_unref(m_context);
}

}  // namespace systemtest
