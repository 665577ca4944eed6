#include "AsfRepair.h"

#include "AsfHeader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
}

namespace platform::recovery {
namespace {

// The first `limit` bytes of a file, as libavformat reads them: a data packet the end of the
// file cut short is not seen at all, rather than read as a frame that fails to decode.
class LimitedFile {
public:
    static constexpr int kBufferBytes = 64 * 1024;

    LimitedFile(FILE* file, int64_t limit) : m_file(file), m_limit(limit) {}
    ~LimitedFile() {
        if (m_io) {
            av_freep(&m_io->buffer);
            avio_context_free(&m_io);
        }
        std::fclose(m_file);
    }
    LimitedFile(const LimitedFile&) = delete;
    LimitedFile& operator=(const LimitedFile&) = delete;

    AVIOContext* Io() {
        if (m_io) return m_io;
        auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
        if (!buffer) return nullptr;
        m_io = avio_alloc_context(buffer, kBufferBytes, 0, this, &LimitedFile::Read, nullptr, &LimitedFile::Seek);
        if (!m_io) av_free(buffer);
        return m_io;
    }

private:
    static int Read(void* self, uint8_t* buffer, int size) {
        auto* file = static_cast<LimitedFile*>(self);
        const int64_t left = file->m_limit - file->m_position;
        if (left <= 0) return AVERROR_EOF;
        const size_t read = std::fread(buffer, 1, size_t(std::min<int64_t>(size, left)), file->m_file);
        file->m_position += int64_t(read);
        return read > 0 ? int(read) : AVERROR_EOF;
    }
    static int64_t Seek(void* self, int64_t offset, int whence) {
        auto* file = static_cast<LimitedFile*>(self);
        if (whence & AVSEEK_SIZE) return file->m_limit;
        whence &= ~AVSEEK_FORCE;
        const int64_t target = whence == SEEK_SET   ? offset
                               : whence == SEEK_CUR ? file->m_position + offset
                               : whence == SEEK_END ? file->m_limit + offset
                                                    : -1;
        if (target < 0 || target > file->m_limit || fseeko(file->m_file, off_t(target), SEEK_SET) != 0)
            return AVERROR(EINVAL);
        file->m_position = target;
        return target;
    }

    FILE* m_file;
    int64_t m_limit;
    int64_t m_position = 0;
    AVIOContext* m_io = nullptr;
};

struct InputContext {
    AVFormatContext* context = nullptr;
    std::unique_ptr<LimitedFile> file;  // when the input reads through it
    ~InputContext() { avformat_close_input(&context); }
};
struct Input {
    std::unique_ptr<InputContext> input;
    explicit operator bool() const { return input && input->context; }
    AVFormatContext* get() const { return input ? input->context : nullptr; }
    AVFormatContext* operator->() const { return get(); }
    void reset() { input.reset(); }
};

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

// A decoder sizes its tables and pictures from the header before it reads a frame: a damaged
// size (640 x 328160) would have it ask for hundreds of megabytes. No camera gives more than this.
constexpr int kMaxPictureSide = 4096;

bool PictureSizesFit(const AVFormatContext* context, std::string& why) {
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVCodecParameters* stream = context->streams[i]->codecpar;
        if (stream->codec_type != AVMEDIA_TYPE_VIDEO) continue;
        if (stream->width > kMaxPictureSide || stream->height > kMaxPictureSide) {
            why = "has a picture size no camera gives: " + std::to_string(stream->width) + " x " +
                  std::to_string(stream->height);
            return false;
        }
    }
    return true;
}

// Opens the file for reading; with `wholePackets`, only up to its last whole data packet.
Input Open(const std::string& path, const std::atomic<bool>* stop, bool wholePackets, std::string& why) {
    Input input{std::make_unique<InputContext>()};
    AVFormatContext* context = avformat_alloc_context();
    if (!context) {
        why = "out of memory";
        return {};
    }
    context->interrupt_callback = {&Interrupted, const_cast<std::atomic<bool>*>(stop)};
    if (std::optional<uint64_t> end = wholePackets ? AsfFileWholePacketsEnd(path) : std::nullopt) {
        FILE* file = std::fopen(path.c_str(), "rb");
        if (file) input.input->file = std::make_unique<LimitedFile>(file, int64_t(*end));
        AVIOContext* io = input.input->file ? input.input->file->Io() : nullptr;
        if (!io) {
            avformat_free_context(context);
            why = "cannot be read";
            return {};
        }
        context->pb = io;
        context->flags |= AVFMT_FLAG_CUSTOM_IO;
    }
    // Only what the writer makes is opened: a damaged header that names another format or
    // codec would otherwise bring in a demuxer or decoder this file never needed.
    context->format_whitelist = av_strdup("asf");
    context->codec_whitelist = av_strdup("wmv2,wmav2");
    int result = avformat_open_input(&context, path.c_str(), nullptr, nullptr);
    if (result < 0) {
        why = "cannot be read: " + AvError(result);
        return {};
    }
    input.input->context = context;
    if (!PictureSizesFit(context, why)) return {};
    result = avformat_find_stream_info(context, nullptr);
    if (result < 0) {
        why = "has no readable streams: " + AvError(result);
        return {};
    }
    return input;
}

// Packets of the file that the copy keeps: those of its audio and video streams.
int64_t CountPackets(AVFormatContext* input) {
    Packet packet(av_packet_alloc());
    int64_t count = 0;
    while (packet && av_read_frame(input, packet.get()) >= 0) {
        const AVMediaType type = input->streams[packet->stream_index]->codecpar->codec_type;
        count += (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_VIDEO) && !(packet->flags & AV_PKT_FLAG_CORRUPT);
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
        // A payload the end of the file cut short would only be a decoding error in the copy.
        if (index >= 0 && !(packet->flags & AV_PKT_FLAG_CORRUPT)) {
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
    // What an earlier repair cut short left is of no use: it goes whatever happens now.
    const std::string copy = RepairingName(path);
    std::remove(copy.c_str());
    Input input = Open(path, stop, true, report.why);
    if (!input) return report;
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
    Input check = SyncFile(copy) ? Open(copy, nullptr, false, report.why) : Input{};
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
