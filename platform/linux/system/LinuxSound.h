// Sounds on Linux: a GStreamer playbin per sound. Everything that can block (opening the audio
// device, going to PLAYING, stopping) runs on GStreamer's helper threads; the end of a sound
// (end of stream or an error) is seen on the UI thread's main loop, which cleans up. Without a
// usable audio output the sounds go to a fake sink, so they cost the same and nothing fails.
#pragma once

#include <gst/gst.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Sound.h"

namespace platform {

class LinuxSound final : public ISound {
public:
    enum class Output { NotChosen, AudioDevice, Fake };

    LinuxSound();   // initialises GStreamer when nobody has yet
    ~LinuxSound() override;  // stops what still plays
    LinuxSound(const LinuxSound&) = delete;
    LinuxSound& operator=(const LinuxSound&) = delete;

    bool PlaySoundFile(const std::wstring& path) override;

    // For tests: sounds not yet finished, and the output chosen at the first sound of the process.
    size_t ActivePlayers() const { return m_players.size(); }
    static Output ChosenOutput();

private:
    struct Player;
    static gboolean OnBusMessage(GstBus*, GstMessage*, gpointer player);
    void Finish(Player* player);

    bool m_ready = false;
    std::vector<std::shared_ptr<Player>> m_players;
};

}  // namespace platform
