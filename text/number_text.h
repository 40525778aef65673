#pragma once
// Numbers to and from decimal text in invariant form: the point is the decimal separator whatever
// the locale, and a number written reads back as exactly the same double. The forms are those of
// the standard library's std::to_chars and std::from_chars, without their conversion tables (some
// 200 KB in the executable): printf gives the correctly rounded digits, and reading is worked out
// exactly (decimal_double.h).
#include <string>
#include <string_view>

// The fewest significant digits that read back as `value` (the nearest of them when several
// would), in fixed form ("2.81", "100") or scientific form ("1e+05", "4.35e-07"), whichever is
// shorter, fixed on a tie. A whole number shown in fixed form shows its exact digits. Values that
// aren't finite give "inf", "-inf", "nan" or "-nan".
std::string ShortestNumberText(double value);

// The same digits always in fixed form ("0.00001", "100000"); a whole number beyond the shortest
// digits shows its exact digits ("99999999999999991611392" for 1e23).
std::string FixedNumberText(double value);

// Reads a whole text [-]digits[.digits][(e|E)[+|-]digits], with at least one digit before or
// after the point, as the nearest double. Returns false and leaves `value` untouched for any
// other text and for a number outside the range of double: too large, or so small that it would
// read as zero.
bool ParseNumberText(std::string_view text, double& value);
