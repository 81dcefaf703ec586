#pragma once
// The text of a profile (INI) file: "[section]" lines and "key=value" lines.
// Reading and rewriting it keeps every line it does not change, so comments
// and keys that a user or another version of the tool put there survive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan::app {

class ProfileText {
  public:
    ProfileText() = default;
    // Lines may end in LF or CR LF (a file edited on Windows).
    explicit ProfileText(std::string_view text);

    // The value of key in section; nullopt when either is missing. Names
    // match without regard to ASCII case, as the Windows profile functions
    // do. Spaces around the value are dropped and one pair of surrounding
    // double quotes is removed, which is how values with edge spaces are kept.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Replaces the value of key, or adds the key at the end of its section,
    // or adds the section at the end of the text. A value is cut at its first
    // line break or NUL: the rest could not be stored on the line and would
    // otherwise turn into lines of its own (forged sections or keys).
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The whole text with LF line ends; lines read are given back unchanged.
    std::string Text() const;

  private:
    struct Line {
        std::string text;    // the line as it stands in the file
        std::string section; // for "[section]" lines: the name
        std::string key;     // for "key=value" lines: the key, trimmed
    };

    // Index of the section's heading line, or npos.
    std::size_t FindSection(std::string_view section) const;
    // One past the last line that belongs to the section starting at heading.
    std::size_t SectionEnd(std::size_t heading) const;

    std::vector<Line> lines_;
};

} // namespace quvan::app
