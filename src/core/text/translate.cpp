#include "core/text/translate.h"

#include <atomic>

namespace translation {
namespace {

// Set once at start, read from any thread.
std::atomic<Translator> installed{nullptr};

} // namespace

void SetTranslator(Translator translator) {
    installed.store(translator);
}

std::string Translate(const char* context, const char* source) {
    const Translator translator = installed.load();
    return translator != nullptr ? translator(context, source) : std::string(source);
}

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < values.size()) {
                out += values.begin()[index];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace translation
