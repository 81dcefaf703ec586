#pragma once
// Replacing a file so that readers see either the old or the new content,
// never a half-written one.

#include <string>
#include <string_view>

namespace quvan {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// the disk and renames it over `path` (the target of a symbolic link is
// replaced, not the link). A new file gets the usual permissions, a replaced
// one keeps its own. Returns an empty text on success, else what failed; on
// failure `path` is untouched and the temporary file is removed.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace quvan
