#pragma once
// Counting characters in UTF-8 text. Texts from outside may be malformed; a byte that does not
// start a well-formed sequence counts as one character of its own, so no count ever overruns.
#include <cstddef>
#include <string_view>

// Bytes taken by the character that starts at s[i] (i < s.size()).
size_t Utf8CharLength(std::string_view s, size_t i);

// Number of characters in s.
size_t Utf8CharCount(std::string_view s);
