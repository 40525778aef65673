#include "text/text_pattern.h"

#include <cctype>
#include <vector>

#include "text/pattern_lexer.h"
#include "text/utf8.h"

namespace {
bool IsPlaceholder(const PatternItem& item) {
    return item.Char() == '@' || item.Char() == '&';
}
} // namespace

std::string FormatText(std::string_view text, std::string_view pattern) {
    const auto sections = SplitSections(pattern);
    const auto items = LexSection(text.empty() && sections.size() > 1 ? sections[1] : sections[0]);

    bool lower = false, upper = false, fromLeft = false;
    size_t places = 0;
    for (const auto& item : items) {
        const char c = item.Char();
        if (c == '<' || c == '>') {
            lower = c == '<';
            upper = c == '>';
        }
        fromLeft = fromLeft || c == '!';
        places += IsPlaceholder(item);
    }

    std::string cased(text);
    for (char& ch : cased) {
        // Bytes of multi-byte characters are all >= 0x80 and left alone.
        if (static_cast<unsigned char>(ch) < 0x80)
            ch = static_cast<char>(upper   ? std::toupper(static_cast<unsigned char>(ch))
                                   : lower ? std::tolower(static_cast<unsigned char>(ch))
                                           : ch);
    }
    std::vector<std::string_view> chars;
    for (size_t i = 0; i < cased.size();) {
        const size_t len = Utf8CharLength(cased, i);
        chars.push_back(std::string_view(cased).substr(i, len));
        i += len;
    }

    // What placeholder p (counted from the left) receives.
    const size_t count = chars.size();
    auto fill = [&](size_t p) {
        std::string s;
        size_t first = 0, last = 0; // characters [first, last)
        if (count <= places) {
            const size_t offset = fromLeft ? 0 : places - count;
            if (p >= offset && p - offset < count) {
                first = p - offset;
                last = first + 1;
            }
        } else if (fromLeft) {
            first = p;
            last = p + 1 == places ? count : p + 1;
        } else {
            first = p == 0 ? 0 : count - places + p;
            last = count - places + p + 1;
        }
        for (size_t k = first; k < last; ++k)
            s += chars[k];
        return s;
    };

    std::string out;
    size_t p = 0;
    for (const auto& item : items) {
        const char c = item.Char();
        if (IsPlaceholder(item)) {
            std::string s = fill(p++);
            out += s.empty() && c == '@' ? " " : s;
        } else if (c != '<' && c != '>' && c != '!') {
            out += item.Text;
        }
    }
    if (places == 0)
        out += cased;
    return out;
}
