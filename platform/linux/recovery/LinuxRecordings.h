// The repair of unfinished recordings on a worker thread: each entry the journal holds for a
// process that is gone is looked at; a file whose header says it was finished only loses its
// entry; any other is remuxed in place. The entry goes once the file is whole, so a repair cut
// short by another crash is done again at the following start.
#pragma once

#include <atomic>
#include <thread>

#include "RecordingJournal.h"
#include "platform/Recordings.h"

namespace platform::recovery {

class LinuxRecordings final : public IRecordings {
public:
    explicit LinuxRecordings(RecordingJournal journal = RecordingJournal()) : m_journal(std::move(journal)) {}
    ~LinuxRecordings() override;

    void RepairUnfinished(std::function<void(const RepairedRecording&)> done) override;

private:
    RecordingJournal m_journal;
    std::atomic<bool> m_stop{false};
    std::thread m_worker;
};

}  // namespace platform::recovery
