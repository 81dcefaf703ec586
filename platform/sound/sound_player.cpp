#include "platform/sound/sound_player.h"

#include "platform/sound/wav_file.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#ifdef QUVAN_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace quvan::platform {
namespace {

// A back end plays a sound to its end or until cancel turns true.
using PlayFunction = void (*)(const WavSound& sound, const std::atomic<bool>& cancel);

// One worker plays one sound at a time. Callers only hand over a path, so a
// slow device, a large file or a busy sound server never reaches the
// user-interface thread.

class WorkerSoundPlayer final : public SoundPlayer {
  public:
    explicit WorkerSoundPlayer(PlayFunction play) : play_(play), worker_([this] { Run(); }) {}

    ~WorkerSoundPlayer() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            cancel_ = true;
        }
        wake_.notify_one();
        worker_.join();
    }

    void playAsync(const std::string& path) override {
        if (path.empty()) {
            return;
        }
        {
            // Under the lock, so the worker cannot take the new path and
            // clear the flag before it is set, which would cancel the new
            // sound instead of the old one.
            std::lock_guard lock(mutex_);
            pending_ = path;
            hasPending_ = true;
            cancel_ = true;
        }
        wake_.notify_one();
    }

  private:
    void Run() {
        for (;;) {
            std::string path;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || hasPending_; });
                if (stopping_) {
                    return;
                }
                path = std::move(pending_);
                hasPending_ = false;
                cancel_ = false;
            }
            if (const auto sound = LoadWavFile(path)) {
                play_(*sound, cancel_);
            }
        }
    }

    PlayFunction play_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::string pending_;
    bool hasPending_ = false;
    bool stopping_ = false;
    std::atomic<bool> cancel_{false};
    std::thread worker_; // last: it starts running in the constructor
};

#ifdef QUVAN_HAVE_ALSA

// ALSA reports a missing sound card on stderr; a tool without speakers is
// normal and not worth a line on the console.
void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}

void AlsaPlay(const WavSound& sound, const std::atomic<bool>& cancel) {
    snd_pcm_t* pcm = nullptr;
    // Opened non-blocking so a device held by another program fails at once
    // instead of waiting; writing then blocks only the worker.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        return;
    }
    snd_pcm_nonblock(pcm, 0);
    const snd_pcm_format_t format =
        sound.bitsPerSample == 16 ? SND_PCM_FORMAT_S16_LE : SND_PCM_FORMAT_U8;
    constexpr unsigned kLatencyUs = 100000;
    if (snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED,
                           static_cast<unsigned>(sound.channels),
                           static_cast<unsigned>(sound.sampleRate), 1, kLatencyUs) < 0) {
        snd_pcm_close(pcm);
        return;
    }
    // Small pieces, so a newer sound cuts this one off within ~20 ms.
    const std::size_t chunk = static_cast<std::size_t>(std::max(1, sound.sampleRate / 50));
    const std::size_t total = sound.frameCount();
    std::size_t done = 0;
    while (done < total && !cancel) {
        const std::size_t count = std::min(chunk, total - done);
        const snd_pcm_sframes_t written =
            snd_pcm_writei(pcm, sound.frames.data() + done * sound.bytesPerFrame(), count);
        if (written < 0) {
            if (snd_pcm_recover(pcm, static_cast<int>(written), 1) < 0) {
                break;
            }
            continue;
        }
        done += static_cast<std::size_t>(written);
    }
    if (cancel) {
        snd_pcm_drop(pcm);
    } else {
        snd_pcm_drain(pcm);
    }
    snd_pcm_close(pcm);
}

#else

// Built without ALSA: the program works the same, only quietly.
class SilentSoundPlayer final : public SoundPlayer {
  public:
    void playAsync(const std::string&) override {}
};

#endif

} // namespace

std::unique_ptr<SoundPlayer> MakeSystemSoundPlayer() {
#ifdef QUVAN_HAVE_ALSA
    snd_lib_error_set_handler(SilentAlsaError);
    return std::make_unique<WorkerSoundPlayer>(AlsaPlay);
#else
    return std::make_unique<SilentSoundPlayer>();
#endif
}

} // namespace quvan::platform
