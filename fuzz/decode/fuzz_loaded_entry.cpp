// Read-back decoding of arbitrary records, as a board might report them.

#include "decode/entry_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto rec = std::make_unique<quvan::LearnedSignal>();
    std::memcpy(rec.get(), data, std::min(size, sizeof(quvan::LearnedSignal)));
    // Small lengths are the interesting ones; keep them likely.
    if (size > 0 && (data[0] & 1))
        rec->DataBits &= 0xFF;
    quvan::DecodeLoadedEntry(*rec, false, (size > 1) && (data[1] & 1));
    quvan::DecodeLoadedEntry(*rec, true, false);
    return 0;
}
