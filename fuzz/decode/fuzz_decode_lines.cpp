// Wave and analysis lines under every analysis option: the first two bytes
// choose the options, the rest are board lines.

#include "cli/decode_pipeline.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    quvan::LearningOptions o;
    const unsigned a = data[0];
    const unsigned b = data[1];
    o.ProEdition = (a & 1) != 0;
    o.WaveLanes = o.ProEdition ? 4 : 2;
    o.Eiritsu = (a & 0x06) == 0x02;
    o.Philips = (a & 0x06) == 0x04;
    o.Serial = (a & 0x06) == 0x06;
    o.MultiHeader = (a & 0x08) != 0;
    o.PCode = (a & 0x10) != 0;
    o.FullCode = (a & 0x20) != 0;
    o.CodeCheck = (a & 0x40) != 0;
    o.MonitorMode = (a & 0x80) != 0;
    o.HrangeText = std::to_string(b & 0x3F);
    o.WrangeText = std::to_string((b >> 2) & 0x3F);
    o.LtimeText = (b & 0x80) ? "5" : "500";
    o.SBitText = std::to_string(b & 0x07);
    o.BtText = std::to_string(b & 0x7F);
    o.WaveZoom = 50;
    // One pipeline per edition, reset for every input: building a fresh one
    // each time spends the run on page faults.
    static quvan::DecodePipeline standard(quvan::LearningOptions{});
    static quvan::DecodePipeline pro([] {
        quvan::LearningOptions p;
        p.ProEdition = true;
        p.WaveLanes = 4;
        return p;
    }());
    quvan::DecodePipeline& pipeline = o.ProEdition ? pro : standard;
    pipeline.reset(o);
    std::string out;
    std::vector<std::string> errors;
    quvan::DecodeLog(pipeline, {reinterpret_cast<const char*>(data + 2), size - 2}, out, errors);
    return 0;
}
