// Recordings a killed process left behind: the journal that names them, the header that tells
// a finished file, and the repair, on real files written by GStreamer's ASF muxer and cut off by
// SIGKILL, then damaged further. Whatever the input, a file is never replaced by one holding
// fewer packets, and a repair that cannot be trusted leaves the file byte for byte as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <glib.h>

#include "AsfHeader.h"
#include "AsfRepair.h"
#include "LinuxRecordings.h"
#include "RecordingJournal.h"
#include "SystemTestSupport.h"
#include "platform/Strings.h"

namespace {

namespace fs = std::filesystem;
using namespace platform::recovery;
using namespace std::chrono_literals;
using systemtest::IsolatedTest;
using systemtest::PumpUntil;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

// Packets ffprobe can read from the file's audio and video streams.
long Packets(const fs::path& path) {
    const std::string out = Shell("ffprobe -v quiet -count_packets -show_entries stream=nb_read_packets -of csv=p=0 '" +
                                  path.string() + "'");
    long total = 0;
    for (size_t at = 0; at < out.size();) {
        total += std::strtol(out.c_str() + at, nullptr, 10);
        at = out.find('\n', at);
        at = at == std::string::npos ? out.size() : at + 1;
    }
    return total;
}

// The header object and the head of the data object that follows it: a file cut off there holds
// no packet.
size_t HeaderBytes(const std::string& asf) {
    uint64_t size = 0;
    for (int i = 7; i >= 0; --i) size = size << 8 | uint8_t(asf[16 + size_t(i)]);
    return size_t(size) + 50;
}

class RepairTest : public IsolatedTest {
protected:
    // A recording of sound and picture that SIGKILL cut off after about two seconds, made once.
    static const std::string& Killed() {
        static const std::string bytes = [] {
            char folder[] = "/tmp/vistrel-killed-XXXXXX";
            if (!::mkdtemp(folder)) return std::string();
            const std::string file = std::string(folder) + "/killed.asf";
            const pid_t child = ::fork();
            if (child == 0) {
                ::execlp("gst-launch-1.0", "gst-launch-1.0", "-q", "videotestsrc", "is-live=true", "!",
                         "video/x-raw,width=320,height=240,framerate=30/1", "!", "videoconvert", "!", "avenc_wmv2",
                         "!", "asfmux", "name=m", "!", "filesink", "buffer-mode=unbuffered",
                         ("location=" + file).c_str(), "audiotestsrc", "is-live=true", "!", "audioconvert", "!",
                         "avenc_wmav2", "!", "m.", static_cast<char*>(nullptr));
                ::_exit(127);
            }
            ::sleep(3);
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            std::string made = Bytes(file);
            fs::remove_all(folder);
            return made;
        }();
        return bytes;
    }
    fs::path Write(const std::string& name, const std::string& bytes) {
        std::ofstream(Folder() / name, std::ios::binary) << bytes;
        return Folder() / name;
    }
};

TEST_F(RepairTest, DamagedFilesAreRepairedWholeOrLeftAsTheyWere) {
    const std::string killed = Killed();
    ASSERT_GT(killed.size(), 20'000u) << "the killed recording could not be made";
    const struct {
        const char* what;
        std::string bytes;
        RepairReport::Outcome outcome;
    } cases[] = {
        {"as the kill left it", killed, RepairReport::Outcome::Repaired},
        {"cut off in the middle of a packet", killed.substr(0, killed.size() * 6 / 10 + 77),
         RepairReport::Outcome::Repaired},
        {"garbage after the last packet", killed + std::string(9000, '\xA5'), RepairReport::Outcome::Repaired},
        {"the header and nothing else", killed.substr(0, HeaderBytes(killed)), RepairReport::Outcome::NothingToDo},
        {"not a recording", "these are my notes, not a video\n", RepairReport::Outcome::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // What the file holds: the packets of its whole data packets (a payload the cut-off
        // packet holds part of is no frame anyone can decode).
        const auto whole = AsfWholePacketsEnd({reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()},
                                              c.bytes.size());
        const long before = Packets(Write("whole.asf", c.bytes.substr(0, whole.value_or(c.bytes.size()))));
        const fs::path file = Write("VideoCap0000.asf", c.bytes);
        Write("VideoCap0000.asf.repairing", "left by a repair that was itself killed");
        const RepairReport report = RepairAsf(file.string());
        EXPECT_EQ(report.outcome, c.outcome) << report.why;
        EXPECT_FALSE(fs::exists(RepairingName(file.string()))) << "the copy was left";
        if (c.outcome != RepairReport::Outcome::Repaired) {
            EXPECT_TRUE(Bytes(file) == c.bytes) << "an unrepaired file must stay as it was";
            continue;
        }
        EXPECT_GE(Packets(file), before) << "replaced by a file holding less";
        EXPECT_EQ(report.packets, Packets(file));
        EXPECT_EQ(AsfFileSaysFinished(file.string()), std::optional<bool>(true));
        EXPECT_GT(report.seconds, 0.5);
        EXPECT_EQ(Shell("ffmpeg -nostdin -v error -i '" + file.string() + "' -f null - 2>&1"), "");
    }
    EXPECT_EQ(AsfHeaderSaysFinished({reinterpret_cast<const uint8_t*>(killed.data()), killed.size()}),
              std::optional<bool>(false));
}

TEST_F(RepairTest, AStoppedRepairLeavesTheFileAndNoCopy) {
    const fs::path file = Write("VideoCap0001.asf", Killed());
    std::atomic<bool> stop{true};
    EXPECT_EQ(RepairAsf(file.string(), &stop).outcome, RepairReport::Outcome::Failed);
    EXPECT_TRUE(Bytes(file) == Killed());
    EXPECT_FALSE(fs::exists(RepairingName(file.string())));
}

TEST_F(RepairTest, OnlyEntriesOfProcessesThatAreGoneAreOrphansAndEachIsLookedAtOnce) {
    RecordingJournal journal((Folder() / "journal").string());
    const std::string mine = journal.Begin((Folder() / "mine.asf").string());
    ASSERT_FALSE(mine.empty());
    // Entries as other processes left them: one gone, one whose number is ours now but that
    // started at another time (a process id used again).
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    auto orphan = [&](const std::string& name, long pid, const char* started, const fs::path& file) {
        std::ofstream(Folder() / "journal" / (name + ".recording"))
            << "[Recording]\nFile=" << file.string() << "\nProcess=" << pid << "\nProcessStart=" << started << "\n";
    };
    const fs::path killed = Write("killed.asf", Killed());
    orphan("gone", gone, "1", killed);
    orphan("reused", long(::getpid()), "0", Write("finished.asf", ""));
    orphan("moved", gone, "1", Folder() / "moved-away.asf");
    auto names = [](const std::vector<RecordingJournal::Entry>& entries) {
        std::vector<std::string> found;
        for (const auto& e : entries) found.push_back(e.name);
        std::sort(found.begin(), found.end());
        return found;
    };
    EXPECT_EQ(names(journal.Orphans()),
              (std::vector<std::string>{"gone.recording", "moved.recording", "reused.recording"}));
    ASSERT_EQ(journal.Entries().size(), 4u);

    // The finished file only loses its entry (its header says so); the moved one too; the
    // killed one is repaired; this process's own entry stays.
    fs::copy_file(killed, Folder() / "finished.asf", fs::copy_options::overwrite_existing);
    ASSERT_EQ(RepairAsf((Folder() / "finished.asf").string()).outcome, RepairReport::Outcome::Repaired);
    const std::string finishedBytes = Bytes(Folder() / "finished.asf");
    std::vector<platform::RepairedRecording> results;
    std::vector<std::thread::id> threads;
    {
        LinuxRecordings recordings(journal);
        recordings.RepairUnfinished([&](const platform::RepairedRecording& r) {
            results.push_back(r);
            threads.push_back(std::this_thread::get_id());
        });
        // While this thread does not run its main context, the result waits: run on the
        // worker, it would hold that context, and this thread would hang on it.
        for (int i = 0; i < 100 && journal.Entries().size() != 1; ++i) std::this_thread::sleep_for(100ms);
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(results.empty()) << "the result was handed over on the worker's thread";
        EXPECT_TRUE(PumpUntil([&] { return journal.Entries().size() == 1 && !results.empty(); },
                              std::chrono::seconds(10)));
    }
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(threads[0], std::this_thread::get_id());
    EXPECT_EQ(platform::ToUtf8(results[0].file), killed.string());
    EXPECT_TRUE(results[0].repaired) << results[0].why;
    EXPECT_EQ(AsfFileSaysFinished(killed.string()), std::optional<bool>(true));
    EXPECT_TRUE(Bytes(Folder() / "finished.asf") == finishedBytes) << "a finished file is left alone";
    EXPECT_EQ(names(journal.Entries()), std::vector<std::string>{mine});
    journal.End(mine);
    EXPECT_TRUE(journal.Entries().empty());
}

}  // namespace
