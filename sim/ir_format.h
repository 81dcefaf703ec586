#pragma once
// The formats the simulated remote controls send: those of the shared
// protocol library.

#include "protocols/ir_format.h"

namespace quvan::sim {

using protocols::all_formats;
using protocols::format_info;
using protocols::FormatInfo;
using protocols::IrFormat;
using protocols::parse_format_name;
using protocols::parse_hex_bytes;

} // namespace quvan::sim
