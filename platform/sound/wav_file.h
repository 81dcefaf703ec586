#pragma once
// Reading the PCM wave files the program plays.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::platform {

// Uncompressed PCM samples as they lie in the file (little-endian frames).
struct WavSound {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0; // 8 or 16
    std::vector<std::uint8_t> frames;

    int bytesPerFrame() const { return channels * bitsPerSample / 8; }
    std::size_t frameCount() const {
        return bytesPerFrame() > 0 ? frames.size() / bytesPerFrame() : 0;
    }
};

// Parses a RIFF/WAVE image. Only 8- and 16-bit PCM is accepted: that is all
// the program ships, and anything else would need a converter for nothing.
// A data chunk that claims more bytes than the file holds is cut to what is
// there, since a truncated notice sound is still worth playing.
std::optional<WavSound> ParseWav(std::string_view bytes);

std::optional<WavSound> LoadWavFile(const std::string& path);

} // namespace quvan::platform
