#include "LinuxSound.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>

#include "GRefPtr.h"
#include "platform/Strings.h"

namespace platform {
namespace {

constexpr guint kPlayAudioOnly = 1u << 1;  // GST_PLAY_FLAG_AUDIO: no video or subtitle sinks are made

std::atomic<LinuxSound::Output> g_output{LinuxSound::Output::NotChosen};

bool IsFakeSink(GstElement* element) {
    GstElementFactory* factory = gst_element_get_factory(element);
    if (!factory) return false;
    const gchar* name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
    return g_str_equal(name, "fakesink") || g_str_equal(name, "fakeaudiosink");
}

// autoaudiosink settles on a device when it goes to READY; without one it either fails or
// quietly uses a fake sink of its own, after noisy attempts on every output it knows. Asked
// once, so that noise and that time are spent once per process.
LinuxSound::Output ChooseOutput() {
    auto probe = AdoptGRef(gst_element_factory_make("autoaudiosink", nullptr));
    if (!probe) return LinuxSound::Output::Fake;
    LinuxSound::Output output = LinuxSound::Output::Fake;
    if (gst_element_set_state(probe.get(), GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        bool real = false;
        for (GList* child = GST_BIN_CHILDREN(GST_BIN(probe.get())); child; child = child->next)
            real = real || !IsFakeSink(GST_ELEMENT(child->data));
        if (real) output = LinuxSound::Output::AudioDevice;
    }
    gst_element_set_state(probe.get(), GST_STATE_NULL);
    return output;
}

GstElement* MakeAudioSink() {
    static std::once_flag chosen;
    std::call_once(chosen, [] { g_output = ChooseOutput(); });
    if (g_output == LinuxSound::Output::AudioDevice) return gst_element_factory_make("autoaudiosink", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    // In real time, as a device would, so a sound lasts as long everywhere.
    if (sink) g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

bool IsReadableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

}  // namespace

struct LinuxSound::Player {
    explicit Player(GRefPtr<GstElement> bin) : playbin(std::move(bin)) {}

    GRefPtr<GstElement> playbin;
    LinuxSound* owner = nullptr;
    guint watch = 0;
    std::string path;
    std::mutex mutex;      // orders a late start against a stop
    bool stopped = false;  // under mutex
};

namespace {

template <typename P>
void DeleteRef(gpointer data) {
    delete static_cast<std::shared_ptr<P>*>(data);
}

}  // namespace

LinuxSound::LinuxSound() {
    GErrorPtr error;
    m_ready = gst_is_initialized() || gst_init_check(nullptr, nullptr, OutPtr(error));
    if (!m_ready)
        std::fprintf(stderr, "vistrel: no sounds: %s\n", error ? error->message : "GStreamer failed to start");
}

LinuxSound::~LinuxSound() {
    for (auto& player : m_players) {
        g_source_remove(player->watch);
        std::lock_guard lock(player->mutex);
        player->stopped = true;
        gst_element_set_state(player->playbin.get(), GST_STATE_NULL);
    }
}

LinuxSound::Output LinuxSound::ChosenOutput() { return g_output; }

bool LinuxSound::PlaySoundFile(const std::wstring& path) {
    if (!m_ready) return false;
    const std::string file = ToUtf8(path);
    if (!IsReadableFile(file)) return false;
    GCharPtr uri(gst_filename_to_uri(file.c_str(), nullptr));
    if (!uri) return false;
    auto made = AdoptGRef(gst_element_factory_make("playbin", nullptr));
    if (!made) return false;
    GstElement* playbin = made.get();
    auto player = std::make_shared<Player>(std::move(made));
    g_object_set(playbin, "uri", uri.get(), "flags", kPlayAudioOnly, nullptr);
    player->owner = this;
    player->path = file;
    auto bus = AdoptGRef(gst_element_get_bus(playbin));
    player->watch = gst_bus_add_watch(bus.get(), &LinuxSound::OnBusMessage, player.get());
    m_players.push_back(player);

    // Choosing the output and going to PLAYING open devices, which can take a while.
    gst_element_call_async(
        playbin,
        [](GstElement*, gpointer data) {
            Player& p = **static_cast<std::shared_ptr<Player>*>(data);
            std::lock_guard lock(p.mutex);
            if (p.stopped) return;
            if (GstElement* sink = MakeAudioSink()) g_object_set(p.playbin.get(), "audio-sink", sink, nullptr);
            if (gst_element_set_state(p.playbin.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
                // Usually an element has said why already; this makes sure the UI thread cleans up.
                GErrorPtr error(g_error_new_literal(GST_CORE_ERROR, GST_CORE_ERROR_STATE_CHANGE, "cannot start"));
                gst_element_post_message(p.playbin.get(),
                                         gst_message_new_error(GST_OBJECT(p.playbin.get()), error.get(), nullptr));
            }
        },
        new std::shared_ptr<Player>(player), &DeleteRef<Player>);
    return true;
}

gboolean LinuxSound::OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
    auto* player = static_cast<Player*>(data);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        GErrorPtr error;
        gst_message_parse_error(message, OutPtr(error), nullptr);
        std::fprintf(stderr, "vistrel: cannot play %s: %s\n", player->path.c_str(),
                     error ? error->message : "unknown error");
        player->owner->Finish(player);
        return G_SOURCE_REMOVE;
    }
    case GST_MESSAGE_EOS:
        player->owner->Finish(player);
        return G_SOURCE_REMOVE;
    default:
        return G_SOURCE_CONTINUE;
    }
}

void LinuxSound::Finish(Player* player) {
    auto it = std::find_if(m_players.begin(), m_players.end(),
                           [&](const std::shared_ptr<Player>& p) { return p.get() == player; });
    if (it == m_players.end()) return;
    std::shared_ptr<Player> finished = *it;
    m_players.erase(it);
    finished->watch = 0;
    gst_element_call_async(
        finished->playbin.get(),
        [](GstElement*, gpointer data) {
            Player& p = **static_cast<std::shared_ptr<Player>*>(data);
            std::lock_guard lock(p.mutex);
            p.stopped = true;
            gst_element_set_state(p.playbin.get(), GST_STATE_NULL);
        },
        new std::shared_ptr<Player>(finished), &DeleteRef<Player>);
}

}  // namespace platform
