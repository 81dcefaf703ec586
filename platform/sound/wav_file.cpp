#include "platform/sound/wav_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace quvan::platform {
namespace {

std::uint32_t Le32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

constexpr std::uint16_t kFormatPcm = 1;

} // namespace

std::optional<WavSound> ParseWav(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    WavSound sound;
    bool haveFormat = false;
    std::size_t at = 12;
    while (bytes.size() - at >= 8) {
        const std::string_view id = bytes.substr(at, 4);
        const std::size_t size = Le32(bytes, at + 4);
        const std::size_t body = at + 8;
        const std::size_t available = bytes.size() - body;
        if (id == "fmt ") {
            if (size < 16 || available < 16) {
                return std::nullopt;
            }
            if (Le16(bytes, body) != kFormatPcm) {
                return std::nullopt;
            }
            sound.channels = Le16(bytes, body + 2);
            sound.sampleRate = static_cast<int>(Le32(bytes, body + 4));
            sound.bitsPerSample = Le16(bytes, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                return std::nullopt;
            }
            const std::string_view data = bytes.substr(body, std::min(size, available));
            sound.frames.assign(data.begin(), data.end());
            const bool usable = (sound.bitsPerSample == 8 || sound.bitsPerSample == 16) &&
                                sound.channels >= 1 && sound.channels <= 8 && sound.sampleRate > 0;
            if (!usable) {
                return std::nullopt;
            }
            sound.frames.resize(sound.frameCount() * sound.bytesPerFrame());
            return sound;
        }
        if (size > available) {
            break;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<WavSound> LoadWavFile(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ParseWav(bytes);
}

} // namespace quvan::platform
