#pragma once
// The settings file is UTF-8, the natural text encoding on Linux and the one
// every other part of the tool's user interface uses. Files made by the
// Windows tool are in the Japanese ANSI code page (CP932, Shift-JIS) instead;
// they are recognised by not being valid UTF-8 and converted on reading, so a
// copied-over settings file keeps its Japanese names ("無し") instead of
// turning into garbage that is then written back.

#include <string>
#include <string_view>

namespace quvan::app {

bool IsValidUtf8(std::string_view text);

// CP932 bytes as UTF-8. A byte sequence that is not CP932 either becomes
// U+FFFD, so the result is always valid UTF-8.
std::string Cp932ToUtf8(std::string_view text);

// The text of a settings file as UTF-8: a UTF-8 byte order mark is dropped,
// valid UTF-8 is kept as it is, anything else is read as CP932.
std::string SettingsTextToUtf8(std::string_view bytes);

} // namespace quvan::app
