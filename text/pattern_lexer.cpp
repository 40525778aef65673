#include "text/pattern_lexer.h"

#include "text/utf8.h"

namespace {
// Bytes from i up to the end of the item that starts there: a quoted run, an escaped character,
// one non-ASCII character, or one pattern character.
size_t ItemEnd(std::string_view s, size_t i) {
    if (s[i] == '"') {
        const size_t close = s.find('"', i + 1);
        return close == std::string_view::npos ? s.size() : close + 1;
    }
    if (s[i] == '\\')
        return i + 1 < s.size() ? i + 1 + Utf8CharLength(s, i + 1) : s.size();
    return i + Utf8CharLength(s, i);
}
} // namespace

std::vector<std::string_view> SplitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = ++i;
        } else {
            i = ItemEnd(pattern, i);
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

std::vector<PatternItem> LexSection(std::string_view section) {
    std::vector<PatternItem> items;
    for (size_t i = 0; i < section.size();) {
        const size_t end = ItemEnd(section, i);
        PatternItem item;
        const auto c = static_cast<unsigned char>(section[i]);
        if (c == '"') {
            // An unclosed quote runs to the end of the section.
            const size_t stop = end > i + 1 && section[end - 1] == '"' ? end - 1 : end;
            item.Literal = true;
            item.Text = std::string(section.substr(i + 1, stop - (i + 1)));
        } else if (c == '\\') {
            item.Literal = true;
            item.Text = std::string(section.substr(i + 1, end - (i + 1)));
        } else {
            item.Literal = c >= 0x80;
            item.Text = std::string(section.substr(i, end - i));
        }
        items.push_back(std::move(item));
        i = end;
    }
    return items;
}
