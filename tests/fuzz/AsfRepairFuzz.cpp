// The repair of unfinished recordings on damaged input: whatever the bytes, no crash, and a file
// the repair does not replace with a finished one stays byte for byte as it was, with no copy
// left beside it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/linux/recovery/AsfHeader.h"
#include "platform/linux/recovery/AsfRepair.h"

namespace {

const std::string& Path() {
    static const std::string path = [] {
        char folder[] = "/tmp/vistrel-fuzz-repair-XXXXXX";
        if (!::mkdtemp(folder)) std::abort();
        return std::string(folder) + "/VideoCap0000.asf";
    }();
    return path;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::recovery;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    (void)AsfHeaderSaysFinished({data, size});
    (void)AsfWholePacketsEnd({data, size}, size);
    std::ofstream(Path(), std::ios::binary | std::ios::trunc) << bytes;
    const RepairReport report = RepairAsf(Path());
    if (std::ifstream(RepairingName(Path())).good()) std::abort();  // the copy was left
    if (report.outcome != RepairReport::Outcome::Repaired) {
        if (Read(Path()) != bytes) std::abort();  // changed without being repaired
    } else if (report.packets <= 0 || AsfFileSaysFinished(Path()) != std::optional<bool>(true)) {
        std::abort();  // "repaired" into something that is not a finished file with packets
    }
    return 0;
}
