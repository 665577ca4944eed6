// Frames delivered on a real second thread, as a streaming thread would: for tests of the
// hand-over between that thread and the UI thread. The only real-time waiting of the sim.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "SimGrabber.h"

namespace platform::sim {

class SimGraphFrameThread {
public:
    struct Target {
        ComPtr<SimGrabber> grabber;
        Size size;
    };

    // Frame numbers are taken from `counter`, which must outlive the thread.
    SimGraphFrameThread(std::vector<Target> targets, int frames, std::chrono::milliseconds interval,
                        std::atomic<uint32_t>& counter);
    SimGraphFrameThread(const SimGraphFrameThread&) = delete;
    SimGraphFrameThread& operator=(const SimGraphFrameThread&) = delete;
    ~SimGraphFrameThread() { Stop(); }

    // Waits until every frame was delivered.
    void Join();
    // Lets the frame in delivery finish, drops the rest and waits.
    void Stop();
    int FramesDelivered() const { return m_delivered.load(); }

private:
    void Run(int frames, std::chrono::milliseconds interval, std::atomic<uint32_t>& counter);

    std::vector<Target> m_targets;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_delivered{0};
    std::thread m_thread;
};

}  // namespace platform::sim
