#pragma once
#include <string_view>

// The decimal number at the start of a text: digits with at most one point as the decimal
// separator, whatever the user's locale; 0 when the text doesn't start with a number.
double NumericValue(std::string_view text);
