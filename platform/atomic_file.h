#pragma once
// Replacing a file so that readers see either the old or the new content,
// never a half-written one, and so that the replacement is still the user's
// file: same owner, same group, same permissions.

#include <string>
#include <string_view>

namespace quvan {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to
// the disk and renames it over `path` (the target of a symbolic link is
// replaced, not the link). A new file gets the usual permissions; a replaced
// one keeps its mode, owner and group.
//
// An existing file the user may not write (no write permission for them, or
// write-protected for everyone, as a file of mode 0444 is) is refused, as an
// editor refuses it, even though the folder would allow the rename. When the
// owner of an existing file cannot be kept (another user's file that the
// user may write through its group) or the folder takes no new files, the
// file is overwritten in place instead, after the new content has been
// written once in full to prove it fits.
//
// Returns an empty text on success, else what failed and why; on failure
// `path` is untouched (as far as the system allows for an in-place write)
// and no temporary file is left behind.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace quvan
