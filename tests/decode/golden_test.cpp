// Runs the golden files: captures described by protocol, fed as board lines
// through the same pipeline as quvan-decode, compared with hand-derived cells.

#include "cli/decode_pipeline.h"
#include "tests/decode/support/capture_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace quvan::test {
namespace {

struct GoldenCase {
    std::string name;
    std::vector<std::string> options;
    std::vector<std::string> inputs;
    std::vector<std::string> expected;
    std::vector<std::string> explained; // lines the diagnosis must hold
};

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<GoldenCase> ReadGolden(const std::string& path) {
    std::ifstream in(path);
    std::vector<GoldenCase> cases;
    GoldenCase current;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t sp = line.find(' ');
        const std::string key = line.substr(0, sp);
        const std::string rest = sp == std::string::npos ? "" : line.substr(sp + 1);
        if (key == "case")
            current = GoldenCase{rest, {}, {}, {}, {}};
        else if (key == "options")
            current.options = Words(rest);
        else if (key == "in")
            current.inputs.push_back(rest);
        else if (key == "out")
            current.expected.push_back(Unescape(rest));
        else if (key == "explain")
            current.explained.push_back(rest);
        else if (key == "end")
            cases.push_back(current);
    }
    return cases;
}

LearningOptions OptionsFrom(const std::vector<std::string>& words) {
    LearningOptions o;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--pro") {
            o.ProEdition = true;
            o.WaveLanes = 4;
        } else if (w == "--pcode") {
            o.PCode = true;
        } else if (w == "--fullcode") {
            o.FullCode = true;
        } else if (w == "--hrange") {
            o.HrangeText = words.at(++i);
        } else if (w == "--wrange") {
            o.WrangeText = words.at(++i);
        } else if (w == "--ltime") {
            o.LtimeText = words.at(++i);
        }
    }
    return o;
}

std::vector<int> HexBytes(const std::vector<std::string>& words, std::size_t from) {
    std::vector<int> bytes;
    for (std::size_t i = from; i < words.size() && words[i].find('=') == std::string::npos; ++i)
        bytes.push_back(std::stoi(words[i], nullptr, 16));
    return bytes;
}

// A raw signal of a Flipper .ir file: alternating mark and space durations.
// The final mark is followed by the board's idle gap, taken as 100 ms.
Signal FlipperRaw(const std::string& file, const std::string& name) {
    std::ifstream in(std::string(QUVAN_TEST_DATA) + "/ir-remotes/" + file);
    bool found = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "name: " + name)
            found = true;
        if (found && line.rfind("data: ", 0) == 0) {
            std::vector<std::string> v = Words(line.substr(6));
            Signal s;
            for (std::size_t i = 0; i < v.size(); i += 2)
                s.push_back({std::stoi(v[i]), i + 1 < v.size() ? std::stoi(v[i + 1]) : 100000});
            return s;
        }
    }
    ADD_FAILURE() << "no raw signal " << name << " in " << file;
    return {};
}

std::vector<int> Numbers(const std::string& text, char separator) {
    std::vector<int> values;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        values.push_back(std::stoi(part));
    return values;
}

// An NEC frame (560 µs marks, 108 ms period) with its own leader
// ("MARK/SPACE") and spaces for 0 and 1 ("565" or "540,590": the listed
// spaces taken in turn, each byte starting over).
Signal NecVaried(const std::vector<bool>& bits, const std::string& leader, const std::string& zero,
                 const std::string& one) {
    const std::vector<int> lead = Numbers(leader, '/');
    const std::vector<int> zeros = Numbers(zero, ',');
    const std::vector<int> ones = Numbers(one, ',');
    Signal s{{lead.at(0), lead.at(1)}};
    int elapsed = lead[0] + lead[1];
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const std::vector<int>& spaces = bits[i] ? ones : zeros;
        const int space = spaces[(i % 8) % spaces.size()];
        s.push_back({560, space});
        elapsed += 560 + space;
    }
    s.push_back({560, 108000 - elapsed - 560});
    return s;
}

// "nec 20 DF 10 EF frames=3 repeats=2 jitter=5 bias=40 seed=1 carrier=38.0"
std::vector<std::string> CaptureLines(const std::string& spec) {
    const std::vector<std::string> w = Words(spec);
    std::map<std::string, std::string> kv;
    for (const std::string& word : w) {
        const std::size_t eq = word.find('=');
        if (eq != std::string::npos)
            kv[word.substr(0, eq)] = word.substr(eq + 1);
    }
    auto num = [&](const char* key, int fallback) {
        return kv.count(key) ? std::stoi(kv[key]) : fallback;
    };
    const int frames = num("frames", 1);
    Signal s;
    const std::string& kind = w.at(0);
    if (kind == "nec") {
        std::vector<bool> bits = BitsLsbFirst(HexBytes(w, 1));
        if (kv.count("bits"))
            bits.resize(static_cast<std::size_t>(num("bits", 32)));
        const Signal frame =
            NecVaried(bits, kv.count("leader") ? kv["leader"] : "9000/4500",
                      kv.count("zero") ? kv["zero"] : "565", kv.count("one") ? kv["one"] : "1690");
        s = Concat({Repeat(frame, frames), Repeat(NecRepeatCode(), num("repeats", 0))});
    } else if (kind == "sony") {
        s = Repeat(
            SonyFrame(static_cast<unsigned>(std::stoul(w.at(2), nullptr, 16)), std::stoi(w.at(1))),
            frames);
    } else if (kind == "kaseikyo") {
        s = Repeat(KaseikyoFrame(HexBytes(w, 1)), frames);
    } else if (kind == "samsung") {
        s = Repeat(SamsungFrame(HexBytes(w, 1)), frames);
    } else if (kind == "jvc") {
        const std::vector<int> bytes = HexBytes(w, 1);
        s = Concat({JvcFrame(bytes, true), Repeat(JvcFrame(bytes, false), num("repeats", 0))});
    } else if (kind == "sharp") {
        s = Concat({SharpFrame(static_cast<unsigned>(std::stoul(w.at(1), nullptr, 16))),
                    SharpFrame(static_cast<unsigned>(std::stoul(w.at(2), nullptr, 16)))});
    } else if (kind == "rc5" || kind == "rc6") {
        const int address = std::stoi(w.at(1), nullptr, 16);
        const int command = std::stoi(w.at(2), nullptr, 16);
        const bool toggle = num("toggle", 0) != 0;
        s = Repeat(kind == "rc5" ? Rc5Frame(toggle, address, command)
                                 : Rc6Frame(toggle, address, command),
                   frames);
    } else if (kind == "flipper") {
        s = FlipperRaw(w.at(1), w.at(2));
    } else if (kind == "raw") {
        Signal frame;
        for (std::size_t i = 1; i < w.size() && w[i].find('=') == std::string::npos; ++i) {
            const std::size_t slash = w[i].find('/');
            frame.push_back({std::stoi(w[i].substr(0, slash)), std::stoi(w[i].substr(slash + 1))});
        }
        s = Repeat(frame, frames);
    }
    if (kv.count("jitter") || kv.count("bias"))
        s = Jittered(s, num("jitter", 0), num("bias", 0), static_cast<unsigned>(num("seed", 1)));
    return BoardLines(s, kv.count("carrier") ? kv["carrier"] : "38.0");
}

std::vector<std::string> RunCase(DecodePipeline& pipeline, const GoldenCase& c,
                                 std::vector<std::string>* explanation = nullptr) {
    std::vector<std::string> got;
    for (const std::string& spec : c.inputs) {
        for (const std::string& line : CaptureLines(spec)) {
            std::string out;
            if (pipeline.handleLine(line, out)) {
                got.push_back(out);
                if (explanation != nullptr) {
                    for (const std::string& text : pipeline.explainLast())
                        explanation->push_back(text);
                }
            }
        }
    }
    return got;
}

TEST(DecodeGolden, LearningCasesGiveTheHandDerivedCells) {
    const std::vector<GoldenCase> cases =
        ReadGolden(std::string(QUVAN_DECODE_GOLDEN_DIR) + "/learning.golden");
    ASSERT_GE(cases.size(), 20u);
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        DecodePipeline pipeline(OptionsFrom(c.options));
        EXPECT_EQ(RunCase(pipeline, c), c.expected);
    }
}

// Each explained capture is said to be what the hand-derived lines say, and
// the explanation leaves the cells as they were.
TEST(DecodeGolden, DiagnosisCasesExplainWhatTheDecoderSaw) {
    const std::vector<GoldenCase> cases =
        ReadGolden(std::string(QUVAN_DECODE_GOLDEN_DIR) + "/diagnosis.golden");
    ASSERT_GE(cases.size(), 8u);
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        DecodePipeline pipeline(OptionsFrom(c.options));
        std::vector<std::string> explanation;
        EXPECT_EQ(RunCase(pipeline, c, &explanation), c.expected);
        for (const std::string& line : c.explained) {
            EXPECT_NE(std::find(explanation.begin(), explanation.end(), line), explanation.end())
                << "missing: " << line << "\nin:\n"
                << [&] {
                       std::string all;
                       for (const std::string& e : explanation)
                           all += e + "\n";
                       return all;
                   }();
        }
    }
}

// The fuzzers reuse one pipeline; a reset must leave nothing of the last run.
TEST(DecodeGolden, ResetPipelineGivesTheSameCells) {
    const std::vector<GoldenCase> cases =
        ReadGolden(std::string(QUVAN_DECODE_GOLDEN_DIR) + "/learning.golden");
    DecodePipeline standard(LearningOptions{});
    for (const GoldenCase& c : cases) {
        const LearningOptions o = OptionsFrom(c.options);
        if (o.ProEdition)
            continue;
        SCOPED_TRACE(c.name);
        standard.reset(o);
        EXPECT_EQ(RunCase(standard, c), c.expected);
    }
}

} // namespace
} // namespace quvan::test
