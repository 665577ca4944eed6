// Repairing a recording its process could not finish (killed, crashed, the power gone): the
// packets it holds are copied, as `ffmpeg -i F -c copy` copies them, into a new file with an
// index and a duration, and that file takes the place of the old one only once it has been
// read back whole. The old file is never changed: it stays as it was whenever anything fails.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace platform::recovery {

struct RepairReport {
    enum class Outcome {
        Repaired,    // the copy holds every packet the old file gave, and replaced it
        NothingToDo, // no packet could be read: the old file is left as it is
        Failed,      // reading, writing or checking the copy failed: the old file is left
    };
    Outcome outcome = Outcome::Failed;
    int64_t packets = 0;     // packets read from the old file (and found again in the copy)
    double seconds = 0;      // the copy's duration
    std::string why;         // for the log when it failed
};

// `path` is UTF-8. The copy is written beside it under the name `path` + ".repairing" (an
// earlier, interrupted repair's leftover of that name is replaced). Setting `stop` abandons the
// repair (the copy goes, the file stays as it was).
[[nodiscard]] RepairReport RepairAsf(const std::string& path, const std::atomic<bool>* stop = nullptr);

// The name of the copy while it is being written.
[[nodiscard]] std::string RepairingName(const std::string& path);

}  // namespace platform::recovery
