#include "RecordingJournal.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "GRefPtr.h"

namespace platform::recovery {
namespace {

constexpr const char* kGroup = "Recording";
constexpr const char* kSuffix = ".recording";

// When the process started, in clock ticks since boot (field 22 of /proc/PID/stat); empty when
// there is no such process.
std::string ProcessStart(long pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return {};
    const size_t end = line.rfind(')');  // the name in brackets may hold spaces
    if (end == std::string::npos) return {};
    std::istringstream fields(line.substr(end + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) return field;
    }
    return {};
}

bool Alive(long pid, const std::string& started) {
    if (pid <= 0) return false;
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) return false;
    return ProcessStart(pid) == started;
}

}  // namespace

std::string RecordingJournal::DefaultFolder() {
    const char* state = g_getenv("XDG_STATE_HOME");
    std::string base = state && g_path_is_absolute(state) ? state : std::string(g_get_home_dir()) + "/.local/state";
    return base + "/Vistrel/recordings";
}

std::string RecordingJournal::Begin(const std::string& file) {
    static std::atomic<unsigned> counter{0};
    if (g_mkdir_with_parents(m_folder.c_str(), 0700) != 0) return {};
    const long pid = long(::getpid());
    const std::string name = std::to_string(pid) + "-" + std::to_string(counter++) + kSuffix;
    GUniquePtr<GKeyFile> entry(g_key_file_new());
    g_key_file_set_string(entry.get(), kGroup, "File", file.c_str());
    g_key_file_set_int64(entry.get(), kGroup, "Process", pid);
    g_key_file_set_string(entry.get(), kGroup, "ProcessStart", ProcessStart(pid).c_str());
    gsize length = 0;
    GCharPtr text(g_key_file_to_data(entry.get(), &length, nullptr));
    // Written whole or not at all: a crash while noting it leaves no half entry.
    const std::string path = m_folder + "/" + name;
    if (!text || !g_file_set_contents(path.c_str(), text.get(), gssize(length), nullptr)) return {};
    return name;
}

void RecordingJournal::End(const std::string& entry) {
    if (entry.empty()) return;
    (void)g_unlink((m_folder + "/" + entry).c_str());
}

std::vector<RecordingJournal::Entry> RecordingJournal::Entries() const {
    std::vector<Entry> entries;
    GUniquePtr<GDir> dir(g_dir_open(m_folder.c_str(), 0, nullptr));
    if (!dir) return entries;
    while (const char* name = g_dir_read_name(dir.get())) {
        if (!g_str_has_suffix(name, kSuffix)) continue;
        GUniquePtr<GKeyFile> entry(g_key_file_new());
        if (!g_key_file_load_from_file(entry.get(), (m_folder + "/" + name).c_str(), G_KEY_FILE_NONE, nullptr))
            continue;
        GCharPtr file(g_key_file_get_string(entry.get(), kGroup, "File", nullptr));
        GCharPtr started(g_key_file_get_string(entry.get(), kGroup, "ProcessStart", nullptr));
        const long pid = long(g_key_file_get_int64(entry.get(), kGroup, "Process", nullptr));
        if (file && *file) entries.push_back({name, file.get(), pid, started ? started.get() : ""});
    }
    return entries;
}

std::vector<RecordingJournal::Entry> RecordingJournal::Orphans() const {
    std::vector<Entry> orphans;
    for (Entry& entry : Entries())
        if (!Alive(entry.process, entry.processStart)) orphans.push_back(std::move(entry));
    return orphans;
}

}  // namespace platform::recovery
