#include "SimGraphFrameThread.h"

namespace platform::sim {

SimGraphFrameThread::SimGraphFrameThread(std::vector<Target> targets, int frames, std::chrono::milliseconds interval,
                                         std::atomic<uint32_t>& counter)
    : m_targets(std::move(targets)) {
    m_thread = std::thread([this, frames, interval, &counter] { Run(frames, interval, counter); });
}

void SimGraphFrameThread::Run(int frames, std::chrono::milliseconds interval, std::atomic<uint32_t>& counter) {
    std::vector<uint8_t> scratch;
    for (int i = 0; i < frames && !m_stop.load(); ++i) {
        if (i > 0 && interval.count() > 0) std::this_thread::sleep_for(interval);
        const uint32_t frame = counter.fetch_add(1);
        for (const Target& target : m_targets) target.grabber->Deliver(frame, target.size, scratch);
        m_delivered.fetch_add(1);
    }
}

void SimGraphFrameThread::Join() {
    if (m_thread.joinable()) m_thread.join();
}

void SimGraphFrameThread::Stop() {
    m_stop.store(true);
    Join();
}

}  // namespace platform::sim
