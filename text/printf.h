#pragma once
// The placeholder formatter: fills the bracketed placeholders of a format text with values.
//
// Escapes are rewritten first, each kind over the whole text in this order: \\ (one literal
// backslash), \t (tab), \r (carriage return), \n (carriage return and line feed), \[ (one
// literal "["); any other backslash stays. Then each "[token]" is replaced, left to right:
//   []        nothing, but uses up one value
//   [*]       the next value as text
//   [(] [\]   a literal "[" or "\", using no value
//   [N:...]   N = 1..9: the rest of the token with value N (the last one when N is past the end),
//             leaving the sequence of unnumbered placeholders undisturbed
//   [pattern] the next value formatted with the pattern (pattern_format.h)
// Inserted text is never read again. A "]" outside a placeholder is ordinary text.
#include <cstdint>
#include <string>
#include <vector>

#include "text/raised_error.h"
#include "text/variant.h"

// Errors the formatter raises (as RaisedError); see printf below.
inline constexpr int32_t kErrPrintfMissingBracket = static_cast<int32_t>(0x80040001u);
inline constexpr int32_t kErrPrintfMissingValue = static_cast<int32_t>(0x80040002u);
inline constexpr int32_t kErrPrintfScript = static_cast<int32_t>(0x80040003u);

namespace modAPI {

// The finished text. Raises RaisedError, returning nothing, when
//   - a "[" has no "]" after it: kErrPrintfMissingBracket, source "printf", the description
//     naming the character position (from 1) of the "[" in the text as rewritten so far;
//   - a "*" or pattern token finds no value left (also any numbered one with no values at all):
//     kErrPrintfMissingValue, source "printf";
//   - a token begins with "=": kErrPrintfScript, source "sprintf".
// Any other input, however malformed, gives a text.
std::string printf(const std::string& format, const std::vector<Variant>& values);

} // namespace modAPI
