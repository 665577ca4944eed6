// Which recordings are being written, and by which process: one small key file per recording in
// the user's state folder, made when the recording starts and removed once its file is
// finished. An entry whose process is gone names a file that was never finished.
#pragma once

#include <string>
#include <vector>

namespace platform::recovery {

class RecordingJournal {
public:
    // $XDG_STATE_HOME/Vistrel/recordings, else ~/.local/state/Vistrel/recordings.
    [[nodiscard]] static std::string DefaultFolder();

    explicit RecordingJournal(std::string folder = DefaultFolder()) : m_folder(std::move(folder)) {}

    // Notes that this process writes `file`; the entry's name, or nothing when it could not be
    // noted (the recording goes on all the same: only its repair after a crash depends on it).
    [[nodiscard]] std::string Begin(const std::string& file);
    void End(const std::string& entry);

    struct Entry {
        std::string name;
        std::string file;
        long process = 0;
        std::string processStart;
    };
    // Entries left by processes that are gone (a process id used again since does not count as
    // the same process).
    [[nodiscard]] std::vector<Entry> Orphans() const;
    // Every entry, this process's own included.
    [[nodiscard]] std::vector<Entry> Entries() const;

    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};

}  // namespace platform::recovery
