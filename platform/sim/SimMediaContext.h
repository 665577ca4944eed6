// What the sim's media objects share: the virtual clock, the failure switches, the event log,
// the device records and the records of every graph. Objects hold it by shared pointer, so a
// filter or graph released after the SimMedia that made it still finds it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SimClock.h"
#include "SimDevice.h"
#include "SimMediaFailures.h"
#include "platform/Types.h"

namespace platform::sim {

class SimGraph;
struct SimGraphRecord;

struct SimPropertyFrame {
    WindowHandle owner;
    int x = 0;
    int y = 0;
    std::wstring caption;
    std::wstring objectName;  // the name the object's filter has in its graph
    std::vector<GUID> pages;
};

struct SimMediaContext {
    explicit SimMediaContext(SimClock& clock) : clock(clock) {}

    [[nodiscard]] HRESULT Check(const std::string& operation) { return failures.Check(operation); }
    void Log(std::string line) { log.push_back(std::move(line)); }

    SimClock& clock;
    SimMediaFailures failures;
    std::vector<std::string> log;

    std::vector<std::shared_ptr<SimCamera>> cameras;
    std::vector<std::shared_ptr<SimMicrophone>> microphones;
    std::vector<std::shared_ptr<SimDevice>> legacyFilters;  // the effect filter's entry among them
    std::shared_ptr<SimDevice> effectFilter;
    std::vector<std::shared_ptr<SimDevice>> audioCompressors;
    bool effectControlAvailable = true;

    std::vector<std::shared_ptr<SimGraphRecord>> graphs;  // every graph made, oldest first
    std::vector<SimGraph*> liveGraphs;                    // graphs not yet released
    uint32_t stateChangeDelayMs = 0;
    bool stopNeverSettles = false;

    std::atomic<uint32_t> nextFrame{0};  // taken by the frame threads too
    std::vector<SimPropertyFrame> propertyFrames;
};

}  // namespace platform::sim
