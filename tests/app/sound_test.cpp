#include "platform/sound/sound_player.h"
#include "platform/sound/wav_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace quvan::platform {
namespace {

std::string Le(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    return out;
}

// A 16-bit mono wave file at 8000 Hz with the given chunks after "fmt ".
std::string Wav(const std::string& chunks, std::uint16_t format = 1) {
    const std::string fmt = "fmt " + Le(16, 4) + Le(format, 2) + Le(1, 2) + Le(8000, 4) +
                            Le(16000, 4) + Le(2, 2) + Le(16, 2);
    return "RIFF" + Le(static_cast<std::uint32_t>(4 + fmt.size() + chunks.size()), 4) + "WAVE" +
           fmt + chunks;
}

TEST(WavFileTest, ReadsPcmAndSkipsOtherChunks) {
    // An odd-sized chunk is followed by one pad byte.
    const auto sound = ParseWav(Wav("LIST" + Le(3, 4) + "abc" + std::string(1, '\0') + "data" +
                                    Le(4, 4) + "\x01\x02\x03\x04"));
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->channels, 1);
    EXPECT_EQ(sound->sampleRate, 8000);
    EXPECT_EQ(sound->bitsPerSample, 16);
    EXPECT_EQ(sound->frames, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST(WavFileTest, CutsADataChunkToWhatTheFileHoldsAndRejectsTheRest) {
    // Claims 100 bytes, holds 3: one whole frame is left.
    const auto cut = ParseWav(Wav("data" + Le(100, 4) + "\x01\x02\x03"));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->frameCount(), 1u);

    EXPECT_FALSE(ParseWav("RIFF0000WAVX"));
    EXPECT_FALSE(ParseWav(Wav("data" + Le(2, 4) + "ab", 3)));    // floating point samples
    EXPECT_FALSE(ParseWav(Wav("LIST" + Le(1000, 4) + "short"))); // no data chunk
    EXPECT_FALSE(LoadWavFile("/nonexistent/snd.wav"));
    EXPECT_FALSE(LoadWavFile(""));
}

// The build copies the sounds into "Sounds/" beside each program, where the
// tool looks for them by default.
std::string BuiltSoundsDir() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/Sounds/";
}

TEST(ShippedSoundsTest, AreShortAudibleMonoPcmBesideTheProgram) {
    for (const char* name :
         {"snd_action.wav", "snd_chord.wav", "snd_chimes.wav", "snd_notify.wav", "snd_tada.wav"}) {
        SCOPED_TRACE(name);
        const auto sound = LoadWavFile(BuiltSoundsDir() + name);
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->channels, 1);
        EXPECT_EQ(sound->bitsPerSample, 16);
        EXPECT_GT(sound->frameCount(), static_cast<std::size_t>(sound->sampleRate / 10));
        EXPECT_LT(sound->frameCount(), static_cast<std::size_t>(sound->sampleRate));
        int peak = 0;
        for (std::size_t i = 0; i + 1 < sound->frames.size(); i += 2) {
            const auto sample =
                static_cast<std::int16_t>(sound->frames[i] | sound->frames[i + 1] << 8);
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        EXPECT_GT(peak, 8000);
    }
}

TEST(SoundPlayerTest, NeverHoldsUpTheCaller) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    {
        auto player = MakeSystemSoundPlayer();
        player->playAsync("");
        player->playAsync("/nonexistent/snd_chimes.wav");
        player->playAsync(BuiltSoundsDir() + "snd_tada.wav");
        player->playAsync(BuiltSoundsDir() + "snd_chord.wav");
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
    }
    // Closing the player cuts the sound off instead of playing it out.
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
}

} // namespace
} // namespace quvan::platform
