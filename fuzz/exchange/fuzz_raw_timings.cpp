// ReadRawTimings on arbitrary bytes, then the checks every reader must pass.
#include "exchange_fuzz_checks.h"
#include "table/exchange/raw_timings.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quvan::exchange::fuzz::CheckSignalFile(quvan::exchange::ReadRawTimings(text), text);
    return 0;
}
