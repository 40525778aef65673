#include "like_pattern.h"

#include <cstdint>
#include <vector>

#include "text/utf8.h"

namespace {
std::vector<uint32_t> CodePoints(std::string_view s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const size_t n = Utf8CharLength(s, i);
        uint32_t cp = static_cast<unsigned char>(s[i]);
        if (n > 1) {
            cp &= 0xFFu >> (n + 1);
            for (size_t k = 1; k < n; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

// Matches one character against the set that starts after "[" at p; returns the position after
// the closing "]" through `next`, or false through `valid` when the set isn't closed.
bool InSet(const std::vector<uint32_t>& p, size_t start, uint32_t c, size_t& next, bool& valid) {
    size_t i = start;
    bool negate = false;
    if (i < p.size() && p[i] == '!') {
        negate = true;
        ++i;
    }
    bool found = false;
    bool first = true;
    for (; i < p.size() && (p[i] != ']' || first); ++i, first = false) {
        if (i + 2 < p.size() && p[i + 1] == '-' && p[i + 2] != ']') {
            if (c >= p[i] && c <= p[i + 2])
                found = true;
            i += 2;
        } else if (p[i] == c) {
            found = true;
        }
    }
    if (i >= p.size()) {
        valid = false;
        return false;
    }
    valid = true;
    next = i + 1;
    return found != negate;
}

bool Match(const std::vector<uint32_t>& t, size_t ti, const std::vector<uint32_t>& p, size_t pi) {
    while (pi < p.size()) {
        const uint32_t pc = p[pi];
        if (pc == '*') {
            while (pi < p.size() && p[pi] == '*')
                ++pi;
            if (pi == p.size())
                return true;
            for (size_t k = ti; k <= t.size(); ++k)
                if (Match(t, k, p, pi))
                    return true;
            return false;
        }
        if (ti >= t.size())
            return false;
        const uint32_t tc = t[ti];
        if (pc == '?') {
            ++pi;
        } else if (pc == '#') {
            if (tc < '0' || tc > '9')
                return false;
            ++pi;
        } else if (pc == '[') {
            size_t next = 0;
            bool valid = false;
            const bool in = InSet(p, pi + 1, tc, next, valid);
            if (!valid) {
                if (tc != '[')
                    return false;
                ++pi;
            } else {
                if (!in)
                    return false;
                pi = next;
            }
        } else {
            if (pc != tc)
                return false;
            ++pi;
        }
        ++ti;
    }
    return ti == t.size();
}
} // namespace

bool LikeMatch(std::string_view text, std::string_view pattern) {
    return Match(CodePoints(text), 0, CodePoints(pattern), 0);
}
