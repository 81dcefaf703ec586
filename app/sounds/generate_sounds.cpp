// Makes the tool's five notification sounds: short sine-tone figures, 16-bit
// mono PCM at 22050 Hz, each under a second. The WAV files it wrote are kept
// beside this source; run it again only to change the sounds:
//   cmake --build <dir> --target quvan_generate_sounds
//   <dir>/bin/quvan_generate_sounds app/sounds

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;

// One struck tone: a sine with a soft start and an exponential fade.
struct Note {
    double start;  // seconds
    double length; // seconds
    double hertz;
    double loudness; // 0..1
};

std::vector<double> Render(const std::vector<Note>& notes, double seconds) {
    std::vector<double> mix(static_cast<std::size_t>(seconds * kRate), 0.0);
    for (const Note& n : notes) {
        const auto first = static_cast<std::size_t>(n.start * kRate);
        const auto count = static_cast<std::size_t>(n.length * kRate);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double attack = std::min(1.0, t / 0.005);
            const double release = std::min(1.0, (n.length - t) / 0.02);
            const double fade = std::exp(-4.0 * t / n.length);
            // A little of the octave makes the tone less bare.
            const double wave = std::sin(2 * std::numbers::pi * n.hertz * t) +
                                0.25 * std::sin(4 * std::numbers::pi * n.hertz * t);
            mix[first + i] += n.loudness * attack * release * fade * wave / 1.25;
        }
    }
    return mix;
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

bool WriteWav(const std::string& path, const std::vector<double>& samples) {
    std::string data;
    for (const double s : samples) {
        const double clipped = std::max(-1.0, std::min(1.0, s));
        PutLe(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(clipped * 30000)), 2);
    }
    std::string file = "RIFF";
    PutLe(file, static_cast<std::uint32_t>(36 + data.size()), 4);
    file += "WAVEfmt ";
    PutLe(file, 16, 4);        // format chunk size
    PutLe(file, 1, 2);         // PCM
    PutLe(file, 1, 2);         // mono
    PutLe(file, kRate, 4);     // frames per second
    PutLe(file, kRate * 2, 4); // bytes per second
    PutLe(file, 2, 2);         // bytes per frame
    PutLe(file, 16, 2);        // bits per sample
    file += "data";
    PutLe(file, static_cast<std::uint32_t>(data.size()), 4);
    file += data;
    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : "";
    // Pitches of the tempered scale (A4 = 440 Hz).
    constexpr double G5 = 783.99, C5 = 523.25, E5 = 659.26, C6 = 1046.50, E6 = 1318.51, A5 = 880.00,
                     D6 = 1174.66;
    struct Sound {
        const char* name;
        double seconds;
        std::vector<Note> notes;
    };
    const std::vector<Sound> sounds = {
        // A short click-like blip for ordinary messages.
        {"snd_action.wav", 0.18, {{0.0, 0.18, A5, 0.7}}},
        // A major chord for the unusual message kinds.
        {"snd_chord.wav", 0.6, {{0.0, 0.6, C5, 0.4}, {0.0, 0.6, E5, 0.4}, {0.0, 0.6, G5, 0.4}}},
        // Three falling bells at the end of a learning run.
        {"snd_chimes.wav", 0.8, {{0.0, 0.4, E6, 0.6}, {0.18, 0.4, C6, 0.6}, {0.36, 0.44, G5, 0.6}}},
        // Two rising notes.
        {"snd_notify.wav", 0.4, {{0.0, 0.2, A5, 0.6}, {0.15, 0.25, D6, 0.6}}},
        // A rising arpeggio that lands on a chord, for a finished job.
        {"snd_tada.wav",
         0.9,
         {{0.0, 0.15, C5, 0.5},
          {0.1, 0.15, E5, 0.5},
          {0.2, 0.15, G5, 0.5},
          {0.3, 0.6, C6, 0.35},
          {0.3, 0.6, E5, 0.35},
          {0.3, 0.6, G5, 0.35}}},
    };
    for (const Sound& s : sounds) {
        if (!WriteWav(folder + s.name, Render(s.notes, s.seconds))) {
            std::fprintf(stderr, "cannot write %s%s\n", folder.c_str(), s.name);
            return 1;
        }
    }
    return 0;
}
