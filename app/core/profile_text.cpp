#include "app/core/profile_text.h"

#include <algorithm>

namespace quvan::app {
namespace {

constexpr std::size_t npos = std::string::npos;

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Quotes a value whose edge spaces or quotes would otherwise be lost when
// it is read back.
std::string StoredValue(std::string_view value) {
    const bool edgeSpace = !value.empty() && (Trim(value).size() != value.size());
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (edgeSpace || quoted) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

} // namespace

ProfileText::ProfileText(std::string_view text) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == npos ? std::string_view{} : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        Line line{std::string(raw), {}, {}};
        const std::string_view trimmed = Trim(raw);
        if (trimmed.size() >= 2 && trimmed.front() == '[') {
            const auto close = trimmed.find(']');
            if (close != npos) {
                line.section = std::string(Trim(trimmed.substr(1, close - 1)));
            }
        } else if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#') {
            const auto eq = trimmed.find('=');
            if (eq != npos && eq > 0) {
                line.key = std::string(Trim(trimmed.substr(0, eq)));
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::size_t ProfileText::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!lines_[i].section.empty() && SameName(lines_[i].section, section)) {
            return i;
        }
    }
    return npos;
}

std::size_t ProfileText::SectionEnd(std::size_t heading) const {
    std::size_t i = heading + 1;
    while (i < lines_.size() && lines_[i].section.empty()) {
        ++i;
    }
    return i;
}

std::optional<std::string> ProfileText::Get(std::string_view section, std::string_view key) const {
    const std::size_t heading = FindSection(section);
    if (heading == npos) {
        return std::nullopt;
    }
    const std::size_t end = SectionEnd(heading);
    for (std::size_t i = heading + 1; i < end; ++i) {
        if (!lines_[i].key.empty() && SameName(lines_[i].key, key)) {
            const std::string_view text = lines_[i].text;
            std::string_view value = Trim(text.substr(text.find('=') + 1));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    Line line{std::string(key) + "=" + StoredValue(value), {}, std::string(key)};

    std::size_t heading = FindSection(section);
    if (heading == npos) {
        // New sections are set off by a blank line, as the file is read by
        // people too.
        if (!lines_.empty() && !Trim(lines_.back().text).empty()) {
            lines_.push_back(Line{});
        }
        lines_.push_back(Line{"[" + std::string(section) + "]", std::string(section), {}});
        lines_.push_back(std::move(line));
        return;
    }
    std::size_t end = SectionEnd(heading);
    for (std::size_t i = heading + 1; i < end; ++i) {
        if (!lines_[i].key.empty() && SameName(lines_[i].key, key)) {
            lines_[i] = std::move(line);
            return;
        }
    }
    // After the section's last non-blank line, so the blank line that
    // separates it from the next section stays in place.
    while (end > heading + 1 && Trim(lines_[end - 1].text).empty()) {
        --end;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), std::move(line));
}

std::string ProfileText::Text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += '\n';
    }
    return out;
}

} // namespace quvan::app
