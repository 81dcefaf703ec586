#include "table/cp932_codec.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include <iconv.h>

namespace quvan {

namespace {

constexpr std::string_view kGetaCp932 = "\x81\xAC";
constexpr std::string_view kGetaUtf8 = "\xE3\x80\x93";

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Length of the well-formed UTF-8 sequence at the start of `in`, or 1 when it
// is not one, so that an unconvertible character is skipped whole.
std::size_t utf8SequenceLength(const char* in, std::size_t left) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
    std::size_t length = 1;
    if (byte(0) >= 0xC2 && byte(0) <= 0xDF)
        length = 2;
    else if (byte(0) >= 0xE0 && byte(0) <= 0xEF)
        length = 3;
    else if (byte(0) >= 0xF0 && byte(0) <= 0xF4)
        length = 4;
    if (length > left)
        return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 1;
    return length;
}

// One iconv descriptor per direction and thread, opened on first use:
// opening costs far more than converting one short cell.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    Converted run(std::string_view in, std::string_view replacement, bool inputIsUtf8) {
        Converted result;
        std::string& out = result.text;
        out.resize(in.size() * 2 + 8);
        std::size_t used = 0;
        char* inPtr = const_cast<char*>(in.data()); // iconv's signature; it does not write
        std::size_t inLeft = in.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        for (;;) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            int error = errno;
            used = static_cast<std::size_t>(outPtr - out.data());
            if (rc != static_cast<std::size_t>(-1))
                break;
            if (error == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL (a sequence cut off at the end): mark and skip it.
            std::size_t skip = inputIsUtf8 ? utf8SequenceLength(inPtr, inLeft) : 1;
            if (out.size() - used < replacement.size())
                out.resize(out.size() * 2 + replacement.size());
            std::copy(replacement.begin(), replacement.end(), out.begin() + used);
            used += replacement.size();
            ++result.replaced;
            inPtr += skip;
            inLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        return result;
    }

  private:
    iconv_t cd_;
};

} // namespace

Converted Cp932FromUtf8(std::string_view utf8) {
    if (isAscii(utf8))
        return {std::string(utf8), 0};
    thread_local Converter converter("CP932", "UTF-8");
    return converter.run(utf8, kGetaCp932, true);
}

Converted Utf8FromCp932(std::string_view cp932) {
    if (isAscii(cp932))
        return {std::string(cp932), 0};
    thread_local Converter converter("UTF-8", "CP932");
    return converter.run(cp932, kGetaUtf8, false);
}

} // namespace quvan
