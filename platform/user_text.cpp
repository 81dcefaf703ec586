#include "platform/user_text.h"

#include <vector>

namespace quvan::user_text {
namespace {

Translator& Installed() {
    static Translator translator;
    return translator;
}

} // namespace

void SetTranslator(Translator translator) {
    Installed() = std::move(translator);
}

std::string Tr(const char* context, const char* source) {
    if (const Translator& translate = Installed()) {
        std::string text = translate(context, source);
        if (!text.empty())
            return text;
    }
    return source;
}

std::string Fill(std::string_view text, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> values(args);
    std::string out;
    out.reserve(text.size() + 16 * values.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace quvan::user_text
