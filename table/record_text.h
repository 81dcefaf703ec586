#pragma once
// The record part of a table row as text: the tagged fields that the table
// file stores and the monitor log echoes after a load.

#include "table/learned_signal.h"

#include <string>

namespace quvan {

// Appends `value` as printf's "%0<width>d" does: sign first, then zeros up
// to `width` characters in all.
void AppendZeroPadded(std::string& out, int value, int width);

// "Twc:%03d,Twb:%03d,Twr:%03d," then the sixteen "Twp:%01X:%05d %06d," and
// "Twd:" with the pattern-code digits (no comma after them).
void AppendRecordFields(std::string& out, const LearnedSignal& signal);

// The line the monitor log shows for one loaded row: "[%03d] " and the
// record fields.
std::string MonitorDumpLine(int row, const LearnedSignal& signal);

} // namespace quvan
