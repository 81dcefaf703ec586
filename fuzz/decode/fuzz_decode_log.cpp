// Whole received logs through quvan-decode's pipeline with its defaults. The
// program reads a log in pieces; cut anywhere, the log must decode to the
// same lines and records as when it is read whole.

#include "cli/decode_pipeline.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Decode(quvan::DecodePipeline& pipeline, std::string_view log, std::size_t cut) {
    static const quvan::LearningOptions options;
    pipeline.reset(options);
    quvan::LogStreamDecoder decoder(pipeline);
    std::string out;
    std::vector<std::string> errors;
    decoder.feed(log.substr(0, cut), out, errors);
    decoder.feed(log.substr(cut), out, errors);
    decoder.finish(out, errors);
    for (int row : pipeline.storedRows())
        out += pipeline.recordLine(row);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static quvan::DecodePipeline pipeline{quvan::LearningOptions{}};
    const std::string_view log(reinterpret_cast<const char*>(data), size);
    const std::string whole = Decode(pipeline, log, size);
    // The cut lands on a byte chosen by the input itself.
    const std::size_t cut = size == 0 ? 0 : data[0] * size / 256;
    if (Decode(pipeline, log, cut) != whole)
        std::abort();
    return 0;
}
