// Whole received logs through quvan-decode's pipeline with its defaults.

#include "cli/decode_pipeline.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quvan::LearningOptions options;
    static quvan::DecodePipeline pipeline(options);
    pipeline.reset(options);
    std::string out;
    std::vector<std::string> errors;
    quvan::DecodeLog(pipeline, {reinterpret_cast<const char*>(data), size}, out, errors);
    for (int row : pipeline.storedRows())
        out += pipeline.recordLine(row);
    return 0;
}
