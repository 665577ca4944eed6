#include "AsfRepair.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace platform::recovery {
namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

struct OutputCloser {
    void operator()(AVFormatContext* context) const {
        if (context->pb) avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
using Output = std::unique_ptr<AVFormatContext, OutputCloser>;

struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
using Packet = std::unique_ptr<AVPacket, PacketFree>;

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

int Interrupted(void* stop) { return stop && static_cast<const std::atomic<bool>*>(stop)->load(); }

Input Open(const std::string& path, const std::atomic<bool>* stop, std::string& why) {
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        why = "out of memory";
        return nullptr;
    }
    context->interrupt_callback = {&Interrupted, const_cast<std::atomic<bool>*>(stop)};
    int result = avformat_open_input(&context, path.c_str(), nullptr, nullptr);
    if (result < 0) {
        why = "cannot be read: " + AvError(result);
        return nullptr;
    }
    Input input(context);
    result = avformat_find_stream_info(context, nullptr);
    if (result < 0) {
        why = "has no readable streams: " + AvError(result);
        return nullptr;
    }
    return input;
}

// Packets of the file that the copy keeps: those of its audio and video streams.
int64_t CountPackets(AVFormatContext* input) {
    Packet packet(av_packet_alloc());
    int64_t count = 0;
    while (packet && av_read_frame(input, packet.get()) >= 0) {
        const AVMediaType type = input->streams[packet->stream_index]->codecpar->codec_type;
        count += type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO;
        av_packet_unref(packet.get());
    }
    return count;
}

bool SyncFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void SyncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// Writes every packet of `input` into a new ASF file at `copy`; the packets written, or -1 with
// `why` when the copy could not be made.
int64_t Copy(AVFormatContext* input, const std::string& copy, std::string& why) {
    AVFormatContext* context = nullptr;
    int result = avformat_alloc_output_context2(&context, nullptr, "asf", copy.c_str());
    if (result < 0 || !context) {
        why = "no ASF muxer: " + AvError(result);
        return -1;
    }
    Output output(context);
    std::vector<int> mapped(input->nb_streams, -1);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* from = input->streams[i];
        const AVMediaType type = from->codecpar->codec_type;
        if (type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_VIDEO) continue;
        AVStream* to = avformat_new_stream(context, nullptr);
        if (!to || avcodec_parameters_copy(to->codecpar, from->codecpar) < 0) {
            why = "cannot describe stream " + std::to_string(i);
            return -1;
        }
        to->codecpar->codec_tag = 0;  // the muxer picks the tag it knows for the codec
        to->time_base = from->time_base;
        mapped[i] = to->index;
    }
    if (context->nb_streams == 0) {
        why = "holds no audio or video stream";
        return -1;
    }
    if ((result = avio_open(&context->pb, copy.c_str(), AVIO_FLAG_WRITE)) < 0 ||
        (result = avformat_write_header(context, nullptr)) < 0) {
        why = "cannot write " + copy + ": " + AvError(result);
        return -1;
    }
    Packet packet(av_packet_alloc());
    int64_t written = 0;
    // A killed file ends in a packet cut short, or in garbage: what comes before is kept.
    while (packet && av_read_frame(input, packet.get()) >= 0) {
        const int index = mapped[static_cast<size_t>(packet->stream_index)];
        if (index >= 0) {
            av_packet_rescale_ts(packet.get(), input->streams[packet->stream_index]->time_base,
                                 context->streams[index]->time_base);
            packet->stream_index = index;
            packet->pos = -1;
            result = av_interleaved_write_frame(context, packet.get());
            if (result < 0) {
                why = "cannot write " + copy + ": " + AvError(result);
                return -1;
            }
            ++written;
        }
        av_packet_unref(packet.get());
    }
    if (written > 0 && (result = av_write_trailer(context)) < 0) {
        why = "cannot finish " + copy + ": " + AvError(result);
        return -1;
    }
    if (context->pb->error < 0 || avio_closep(&context->pb) < 0) {
        why = "cannot write " + copy;
        return -1;
    }
    return written;
}

}  // namespace

std::string RepairingName(const std::string& path) { return path + ".repairing"; }

RepairReport RepairAsf(const std::string& path, const std::atomic<bool>* stop) {
    av_log_set_level(AV_LOG_QUIET);  // a damaged file is expected here; the report says what matters
    RepairReport report;
    Input input = Open(path, stop, report.why);
    if (!input) return report;
    const std::string copy = RepairingName(path);
    std::remove(copy.c_str());
    report.packets = Copy(input.get(), copy, report.why);
    input.reset();
    if (stop && *stop) {
        report.why = "stopped";
        report.packets = -1;
    }
    if (report.packets <= 0) {
        std::remove(copy.c_str());
        if (report.packets == 0) report.outcome = RepairReport::Outcome::NothingToDo;
        return report;
    }
    // The copy replaces the file only once it is on the disk and reads back whole.
    Input check = SyncFile(copy) ? Open(copy, nullptr, report.why) : nullptr;
    const int64_t found = check ? CountPackets(check.get()) : -1;
    if (found != report.packets) {
        if (check) report.why = "the copy holds " + std::to_string(found) + " of " + std::to_string(report.packets) + " packets";
        std::remove(copy.c_str());
        return report;
    }
    report.seconds = check->duration > 0 ? double(check->duration) / AV_TIME_BASE : 0;
    check.reset();
    if (std::rename(copy.c_str(), path.c_str()) != 0) {
        report.why = "cannot replace the file";
        std::remove(copy.c_str());
        return report;
    }
    SyncFolderOf(path);
    report.outcome = RepairReport::Outcome::Repaired;
    return report;
}

}  // namespace platform::recovery
