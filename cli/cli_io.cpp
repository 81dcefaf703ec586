#include "cli/cli_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace quvan::cli {

namespace {

// Length of the well-formed UTF-8 sequence of a multi-byte character at the
// start of `text`, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value >= minimum && value <= 0x10FFFF && !surrogate ? length : 0;
}

} // namespace

std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text[0]);
        std::size_t take = byte >= 0x20 && byte < 0x7F ? 1 : Utf8SequenceLength(text);
        if (take == 0) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
            take = 1;
        } else {
            shown.append(text.substr(0, take));
        }
        text.remove_prefix(take);
    }
    return shown;
}

std::optional<std::string> ReadWhole(const std::string& path) {
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream data;
    data << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return data.str();
}

std::string ReadInPieces(const std::string& path, std::size_t pieceSize,
                         const std::function<bool(std::string_view)>& piece) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const std::string name = standardInput ? std::string("standard input") : Printable(path);
    if (fd < 0)
        return "cannot read " + name + ": " + std::strerror(errno);
    std::vector<char> buffer(pieceSize);
    std::string error;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            // A folder opens, but reading it fails (EISDIR).
            error = "cannot read " + name + ": " + std::strerror(errno);
            break;
        }
        if (got == 0 || !piece({buffer.data(), static_cast<std::size_t>(got)}))
            break;
    }
    if (!standardInput)
        ::close(fd);
    return error;
}

bool CheckedOutput::write(std::string_view bytes) {
    if (failed())
        return false;
    errno = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        fail();
    return !failed();
}

bool CheckedOutput::finish() {
    errno = 0;
    if (!failed() && (std::fflush(file_) != 0 || std::ferror(file_)))
        fail();
    return !failed();
}

void CheckedOutput::fail() {
    error_ = std::strerror(errno != 0 ? errno : EIO);
}

} // namespace quvan::cli
