#include "text/pattern_format.h"

#include <cctype>
#include <cmath>

#include "text/calendar.h"
#include "text/date_pattern.h"
#include "text/number_pattern.h"
#include "text/number_text.h"
#include "text/pattern_lexer.h"
#include "text/text_pattern.h"

namespace {

enum class Kind { Text, Number, Date };

Kind Classify(std::string_view pattern) {
    bool text = false, digits = false, date = false;
    const auto items = LexSection(pattern);
    for (size_t i = 0; i < items.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(items[i].Char())));
        if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!')
            text = true;
        else if (c == '0' || c == '#')
            digits = true;
        else if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's' || c == 'w' ||
                 c == 'q' || c == 'c')
            date = true;
        else if (c == 'a' && i + 2 < items.size() && items[i + 1].Char() == '/' &&
                 std::tolower(static_cast<unsigned char>(items[i + 2].Char())) == 'p')
            date = true; // A/P (AM/PM is found by its "m")
    }
    return text ? Kind::Text : digits ? Kind::Number : date ? Kind::Date : Kind::Number;
}

bool ParseNumber(const std::string& s, double& n) {
    if (s.empty() ||
        !(std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '-' || s[0] == '.'))
        return false;
    return ParseNumberText(s, n) && std::isfinite(n);
}

// yyyy-mm-dd or yyyy-mm-dd hh:nn:ss, digits exactly where the form has them.
bool ParseDate(const std::string& s, Date& d) {
    static constexpr std::string_view kForm = "0000-00-00 00:00:00";
    if (s.size() != 10 && s.size() != kForm.size())
        return false;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(s[i])) != 0;
        if (kForm[i] == '0' ? !digit : s[i] != kForm[i])
            return false;
    }
    auto field = [&](size_t pos, size_t len) {
        int v = 0;
        for (size_t i = pos; i < pos + len; ++i)
            v = v * 10 + (s[i] - '0');
        return v;
    };
    d = Date{field(0, 4), field(5, 2), field(8, 2), 0, 0, 0};
    if (s.size() > 10) {
        d.Hour = field(11, 2);
        d.Minute = field(14, 2);
        d.Second = field(17, 2);
    }
    return IsValidDate(d);
}

bool AsNumber(const Variant& value, double& n) {
    if (auto* i = std::get_if<int16_t>(&value))
        n = *i;
    else if (auto* l = std::get_if<int32_t>(&value))
        n = *l;
    else if (auto* f = std::get_if<double>(&value))
        n = *f;
    else if (auto* d = std::get_if<Date>(&value)) {
        if (!IsValidDate(*d))
            return false;
        n = SerialFromDate(*d);
    } else if (auto* s = std::get_if<std::string>(&value)) {
        Date date;
        if (ParseDate(*s, date))
            n = SerialFromDate(date);
        else if (!ParseNumber(*s, n))
            return false;
    } else {
        return false;
    }
    return std::isfinite(n);
}

bool AsDate(const Variant& value, Date& d) {
    if (auto* date = std::get_if<Date>(&value)) {
        d = *date;
        return IsValidDate(d);
    }
    if (auto* s = std::get_if<std::string>(&value); s && ParseDate(*s, d))
        return true;
    double n = 0;
    return AsNumber(value, n) && DateFromSerial(n, d);
}

} // namespace

std::string FormatWithPattern(const Variant& value, std::string_view pattern) {
    switch (Classify(pattern)) {
    case Kind::Text:
        return FormatText(ToText(value), pattern);
    case Kind::Number: {
        double n = 0;
        return AsNumber(value, n) ? FormatNumber(n, pattern) : ToText(value);
    }
    case Kind::Date: {
        Date d;
        return AsDate(value, d) ? FormatDate(d, pattern) : ToText(value);
    }
    }
    return ToText(value);
}
