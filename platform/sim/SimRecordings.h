// Unfinished recordings under the sim: the test says which files a repair finds and how each
// ends; the results reach the program when the test delivers them.
#pragma once

#include <vector>

#include "platform/Recordings.h"

namespace platform::sim {

class SimRecordings final : public IRecordings {
public:
    void RepairUnfinished(std::function<void(const RepairedRecording&)> done) override {
        ++m_requests;
        m_done = std::move(done);
    }
    int Requests() const { return m_requests; }
    // Runs the program's callback as the window's thread would, once per result.
    void Deliver(const std::vector<RepairedRecording>& results) {
        for (const RepairedRecording& result : results)
            if (m_done) m_done(result);
    }

private:
    int m_requests = 0;
    std::function<void(const RepairedRecording&)> m_done;
};

}  // namespace platform::sim
