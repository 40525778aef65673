#pragma once
// The double nearest to a decimal number, ties going to the even one, worked out exactly with big
// integers. The C library's strtod can't be relied on for this: MinGW's rounds some numbers next
// to a power of two the wrong way.
#include <string_view>

// digits x 10^exponent, where `digits` are decimal digits, the first not 0 (at most a few thousand
// of them, and |exponent| at most a few thousand). Infinity when the nearest double would lie
// beyond the largest one, 0 when the number is at most half the smallest one.
double DecimalToDouble(std::string_view digits, long exponent);
