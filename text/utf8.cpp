#include "text/utf8.h"

namespace {
bool InRange(std::string_view s, size_t i, unsigned char lo, unsigned char hi) {
    if (i >= s.size())
        return false;
    const auto c = static_cast<unsigned char>(s[i]);
    return c >= lo && c <= hi;
}
} // namespace

size_t Utf8CharLength(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80)
        return 1;
    // The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
    unsigned char lo = 0x80, hi = 0xBF;
    size_t len = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0)
            lo = 0xA0;
        else if (c == 0xED)
            hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F;
    } else {
        return 1;
    }
    if (!InRange(s, i + 1, lo, hi))
        return 1;
    for (size_t k = 2; k < len; ++k)
        if (!InRange(s, i + k, 0x80, 0xBF))
            return 1;
    return len;
}

size_t Utf8CharCount(std::string_view s) {
    size_t count = 0;
    for (size_t i = 0; i < s.size(); i += Utf8CharLength(s, i))
        ++count;
    return count;
}
