#pragma once
// Text patterns: up to two sections, the second for an empty text.
//   @  one character of the text, or a space when the text has run out
//   &  one character of the text, or nothing
//   <  the whole text in lower case      >  the whole text in upper case (ASCII letters)
//   !  fill the placeholders from the left (the default fills them from the right)
// Characters beyond the placeholders all go to the last placeholder filled (the leftmost, or
// the rightmost with "!"); a pattern without placeholders shows its other characters followed by
// the text. Characters count as whole UTF-8 characters, never as bytes.
#include <string>
#include <string_view>

std::string FormatText(std::string_view text, std::string_view pattern);
