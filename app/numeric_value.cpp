#include "numeric_value.h"

#include <string>

#include "text/number_text.h"

double NumericValue(std::string_view text) {
    size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
    }
    // Converted as written, so that "2.81" is exactly the double nearest 2.81 and compares equal
    // to the minimum.
    const std::string number = "0" + std::string(text.substr(0, end));
    double value = 0;
    ParseNumberText(number, value); // beyond the range of double: stays 0
    return value;
}
