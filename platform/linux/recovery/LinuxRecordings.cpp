#include "LinuxRecordings.h"

#include <glib.h>

#include <memory>

#include "AsfHeader.h"
#include "AsfRepair.h"
#include "platform/Strings.h"

namespace platform::recovery {
namespace {

// Hands one result to the window's thread, which runs the default main context. Through a
// source of its own: g_main_context_invoke would take the default context for this thread
// whenever the window's thread does not hold it, run the result here, and meanwhile leave the
// window's thread waiting for ever on anything it hands to its own context (gtksink's widget).
void Deliver(const std::function<void(const RepairedRecording&)>& done, RepairedRecording result) {
    struct Delivery {
        std::function<void(const RepairedRecording&)> done;
        RepairedRecording result;
    };
    GSource* source = g_idle_source_new();
    g_source_set_priority(source, G_PRIORITY_DEFAULT);
    g_source_set_callback(
        source,
        [](gpointer data) -> gboolean {
            auto* delivery = static_cast<Delivery*>(data);
            delivery->done(delivery->result);
            return G_SOURCE_REMOVE;
        },
        new Delivery{done, std::move(result)}, [](gpointer data) { delete static_cast<Delivery*>(data); });
    g_source_attach(source, g_main_context_default());
    g_source_unref(source);
}

}  // namespace

LinuxRecordings::~LinuxRecordings() {
    m_stop = true;
    if (m_worker.joinable()) m_worker.join();
}

void LinuxRecordings::RepairUnfinished(std::function<void(const RepairedRecording&)> done) {
    if (m_worker.joinable()) return;  // once per start
    m_worker = std::thread([this, done = std::move(done)] {
        for (const RecordingJournal::Entry& entry : m_journal.Orphans()) {
            if (m_stop) return;
            if (!g_file_test(entry.file.c_str(), G_FILE_TEST_IS_REGULAR)) {
                // Moved or deleted by the user since: nothing of ours to repair.
                m_journal.End(entry.name);
                continue;
            }
            if (AsfFileSaysFinished(entry.file).value_or(false)) {
                // Finished, but the process went before it could say so.
                m_journal.End(entry.name);
                continue;
            }
            const RepairReport report = RepairAsf(entry.file, &m_stop);
            if (m_stop) return;
            RepairedRecording result;
            result.file = FromUtf8(entry.file);
            result.repaired = report.outcome == RepairReport::Outcome::Repaired;
            result.seconds = report.seconds;
            result.why = report.why;
            if (report.outcome != RepairReport::Outcome::Failed) m_journal.End(entry.name);
            Deliver(done, std::move(result));
        }
    });
}

}  // namespace platform::recovery
