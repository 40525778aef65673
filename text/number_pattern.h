#pragma once
// Number patterns: up to three sections "positive;negative;zero".
//   0  a digit, shown even when it is a leading or trailing zero
//   #  a digit, left out when it is a leading or trailing zero
//   .  the decimal point (always a point); shown even when no decimal follows
//   ,  anywhere before the point: thousands separated by ","
//   %  the value is shown in hundredths, and "%" stands where it is written
// Integer digits beyond the placeholders all go where the leftmost placeholder stands; without
// any integer placeholder they stand just before the point, or at the start of the pattern.
// Values are rounded half away from zero on their shortest decimal form, so 2.675 with "0.00"
// gives "2.68". A negative value takes "-" in front unless a negative section is written (it
// then shows the magnitude); a value that rounds to all zeros shows no sign. Every other
// character is shown as it stands (exponent notation and scaling by "," are not supported).
#include <string>
#include <string_view>

// value must be finite.
std::string FormatNumber(double value, std::string_view pattern);
