#pragma once
// Formatting one value with a pattern, as the placeholder formatter does for a placeholder whose
// token is neither "*" nor one of its own tokens. The pattern decides the kind of formatting:
//   - any of @ & < > !          a text pattern (text_pattern.h), applied to the value's text form
//   - otherwise any of 0 #      a number pattern (number_pattern.h)
//   - otherwise a date letter   a date pattern (date_pattern.h)
//   - anything else             a number pattern without digit places
// Values convert as needed: texts that read as a number in invariant form ("2.81", "-5") or as
// a date in the form yyyy-mm-dd[ hh:nn:ss] are taken as that number or date; dates and numbers
// convert into each other as serial numbers (days since 1899-12-30). A value that can't take the
// pattern's kind (another text, a boolean, a byte array, a date outside years 1 to 9999, a number
// that isn't finite) comes back in its plain text form (ToText), unchanged.
#include <string>
#include <string_view>

#include "text/variant.h"

std::string FormatWithPattern(const Variant& value, std::string_view pattern);
