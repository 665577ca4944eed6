#include "FileChecks.h"

#include <gio/gio.h>
#include <gst/gst.h>

#include <cstdio>

#include "GRefPtr.h"

namespace graphtest {

bool RunProgram(const std::vector<std::string>& argv, std::vector<uint8_t>& output, std::string& diagnostics) {
    std::vector<const gchar*> args;
    for (const std::string& arg : argv) args.push_back(arg.c_str());
    args.push_back(nullptr);
    GErrorPtr error;
    auto process = AdoptGRef(g_subprocess_newv(args.data(),
                                               GSubprocessFlags(G_SUBPROCESS_FLAGS_STDOUT_PIPE | G_SUBPROCESS_FLAGS_STDERR_PIPE),
                                               OutPtr(error)));
    if (!process) {
        diagnostics = error ? error->message : "cannot start " + argv[0];
        return false;
    }
    GBytes* out = nullptr;
    GBytes* err = nullptr;
    if (!g_subprocess_communicate(process.get(), nullptr, nullptr, &out, &err, OutPtr(error))) {
        diagnostics = error ? error->message : "no answer from " + argv[0];
        return false;
    }
    gsize size = 0;
    const auto* data = static_cast<const uint8_t*>(out ? g_bytes_get_data(out, &size) : nullptr);
    output.assign(data, data + size);
    const auto* text = static_cast<const char*>(err ? g_bytes_get_data(err, &size) : nullptr);
    diagnostics.assign(text ? text : "", text ? size : 0);
    if (g_subprocess_get_exit_status(process.get()) != 0 && diagnostics.empty()) diagnostics = argv[0] + " failed";
    if (out) g_bytes_unref(out);
    if (err) g_bytes_unref(err);
    return true;
}

std::string FfmpegDecodeErrors(const std::string& path) {
    std::vector<uint8_t> output;
    std::string errors;
    (void)RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "null", "-"}, output, errors);
    return errors;
}

std::string GstDecodeProblems(const std::string& path) {
    GCharPtr uri(g_filename_to_uri(path.c_str(), nullptr, nullptr));
    auto player = AdoptGRef(gst_element_factory_make("playbin", nullptr));
    if (!uri || !player) return "no playbin";
    // Fake sinks that take buffers as fast as they come: the whole file, decoded, in little time.
    g_object_set(player.get(), "uri", uri.get(), "video-sink", gst_element_factory_make("fakesink", nullptr),
                 "audio-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
    if (gst_element_set_state(player.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return "cannot play";
    std::string problems;
    auto bus = AdoptGRef(gst_element_get_bus(player.get()));
    const auto kinds = GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_WARNING);
    for (;;) {
        auto message = AdoptGRef(gst_bus_timed_pop_filtered(bus.get(), 30 * GST_SECOND, kinds));
        if (!message) {
            problems += "no end of stream within 30 s";
            break;
        }
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS) break;
        GErrorPtr error;
        GCharPtr debug;
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR)
            gst_message_parse_error(message.get(), OutPtr(error), OutPtr(debug));
        else
            gst_message_parse_warning(message.get(), OutPtr(error), OutPtr(debug));
        problems += std::string(error ? error->message : "?") + " (" + (debug ? debug.get() : "") + ")\n";
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) break;
    }
    gst_element_set_state(player.get(), GST_STATE_NULL);
    return problems;
}

std::vector<uint8_t> FrameAt(const std::string& path, double seconds, int width, int height) {
    char at[32];
    std::snprintf(at, sizeof at, "%.3f", seconds);
    std::vector<uint8_t> frame;
    std::string errors;
    if (!RunProgram({"ffmpeg", "-nostdin", "-v", "error", "-ss", at, "-i", path, "-frames:v", "1", "-f", "rawvideo",
                     "-pix_fmt", "rgb24", "-"},
                    frame, errors) ||
        frame.size() != size_t(width) * size_t(height) * 3)
        frame.clear();
    return frame;
}

}  // namespace graphtest
