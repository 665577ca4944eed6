// The ASF writer: one input pin per profile stream, in profile order, each into its encoder
// (video: scaled to the profile's size, WMV 2; audio: resampled, WMA 2), muxed into an ASF
// file. The file is complete only after end-of-stream has gone through; the graph's Stop sees
// to that, bounded.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "GstFilter.h"
#include "RecordingJournal.h"
#include "WmProfile.h"
#include "platform/media/AsfWriter.h"

namespace platform::gst {

class AsfWriterFilter final : public GstFilter, public IFileSinkFilter, public IConfigAsfWriter {
public:
    [[nodiscard]] static ComPtr<IBaseFilter> Create();

    HRESULT QueryInterface(REFIID iid, void** object) override { return GstFilter::QueryInterface(iid, object); }
    uint32_t AddRef() override { return GstFilter::AddRef(); }
    uint32_t Release() override { return GstFilter::Release(); }

    HRESULT SetFileName(const std::wstring& path, const AM_MEDIA_TYPE* type) override;
    HRESULT ConfigureFilterUsingProfile(IWMProfile* profile) override;

    HRESULT OnEnterGraph(GstGraph& graph, const std::wstring& name) override;
    bool StartFinishing() override;
    bool WaitFinished(gint64 deadlineMonotonicUs) override;
    void OnStreamStart() override;
    void OnGraphError(GstObject* source) override;

    // The muxer's output pad, where end-of-stream marks the file complete (for tests).
    GstElement* Muxer() const { return m_mux; }

protected:
    HRESULT QueryExtra(REFIID iid, void** object) override;

private:
    // One encoder's output: the segment it announced, to turn its stamps into running time.
    struct Branch {
        AsfWriterFilter* writer = nullptr;
        GstElement* encoder = nullptr;  // owned by the bin
        const char* muxPad = nullptr;   // the muxer's pad template for the stream
        GstSegment input;               // the segment of what comes in
        GstSegment segment;             // the segment the encoder announced
        GstClockTime lead = 0;          // how late the encoder gives out what it was given
        bool video = false;
    };

    explicit AsfWriterFilter(GstElement* bin);
    ~AsfWriterFilter() override;

    HRESULT Build(const std::vector<WmStream>& streams);
    void Clear();
    bool AddVideoBranch(const WmStream& stream, int index);
    bool AddAudioBranch(const WmStream& stream, int index);
    bool AddBranch(GstElement* first, GstElement* encoder, const char* muxPad, int index);
    // The muxer and the file sink, linked to every branch; the other removes them.
    [[nodiscard]] bool AddFile();
    void RemoveFile();
    static GstPadProbeReturn OnInput(GstPad* pad, GstPadProbeInfo* info, gpointer branch);
    static GstPadProbeReturn OnEncoded(GstPad* pad, GstPadProbeInfo* info, gpointer branch);
    static GstPadProbeReturn OnFileEvent(GstPad* pad, GstPadProbeInfo* info, gpointer self);

    std::string m_location;
    GstElement* m_mux = nullptr;   // owned by the bin
    GstElement* m_sink = nullptr;  // owned by the bin
    std::vector<std::unique_ptr<Branch>> m_branches;
    // Running time of the pipeline when the writer joined it: its file starts at zero.
    std::atomic<GstClockTime> m_base{0};
    // The file starts with its first picture: sound that comes before it is left out, and the
    // pictures fall on whole frame times of the file (a picture half a frame late would round
    // onto its neighbour's time in players that count in frames).
    std::atomic<bool> m_videoStarted{false};

    // While the file is being written the journal says so: a process killed meanwhile leaves
    // the entry, and the next start repairs the file.
    void NoteRecording();
    recovery::RecordingJournal m_journal;
    std::string m_journalEntry;  // guarded by m_mutex

    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_started = false;    // a stream has started since the last configuration
    bool m_eosSent = false;
    bool m_finished = false;   // end-of-stream reached the file, or never will
};

}  // namespace platform::gst
