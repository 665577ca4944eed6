// Recordings a process could not finish (killed, crashed, the power gone), found and repaired at
// the next start.
#pragma once

#include <functional>
#include <string>

namespace platform {

struct RepairedRecording {
    std::wstring file;
    bool repaired = false;  // false: the file is left as it was
    double seconds = 0;     // the repaired file's duration
    std::string why;        // what went wrong, when it was not repaired
};

class IRecordings {
public:
    virtual ~IRecordings() = default;
    // Looks for recordings left unfinished by processes that are gone and repairs each in
    // place, away from the window's thread; `done` runs on the window's thread once for each
    // file looked at. Returns at once.
    virtual void RepairUnfinished(std::function<void(const RepairedRecording&)> done) = 0;
};

}  // namespace platform
