#include "text/number_pattern.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "text/number_text.h"
#include "text/pattern_lexer.h"

namespace {

// A magnitude as decimal digits: integer part without leading zeros, fraction part.
struct Decimal {
    std::string Int;
    std::string Frac;
};

Decimal ToDecimal(double magnitude) {
    const std::string text = FixedNumberText(magnitude);
    const size_t point = text.find('.');
    Decimal d;
    d.Int = std::string(text.substr(0, point));
    if (point != std::string_view::npos)
        d.Frac = std::string(text.substr(point + 1));
    return d;
}

void StripLeadingZeros(std::string& s) {
    const size_t first = s.find_first_not_of('0');
    s.erase(0, first == std::string::npos ? s.size() : first);
}

void ScaleToPercent(Decimal& d) {
    d.Frac.resize(std::max<size_t>(d.Frac.size(), 2), '0');
    d.Int += d.Frac.substr(0, 2);
    d.Frac.erase(0, 2);
}

// Rounds half away from zero to the given number of decimals and pads with zeros to them.
void Round(Decimal& d, size_t decimals) {
    if (d.Frac.size() > decimals) {
        const bool up = d.Frac[decimals] >= '5';
        d.Frac.resize(decimals);
        if (up) {
            std::string all = d.Int + d.Frac;
            size_t i = all.size();
            while (i > 0 && all[i - 1] == '9')
                all[--i] = '0';
            if (i == 0)
                all.insert(all.begin(), '1');
            else
                ++all[i - 1];
            d.Int = all.substr(0, all.size() - decimals);
            d.Frac = all.substr(all.size() - decimals);
        }
    }
    d.Frac.resize(decimals, '0');
    StripLeadingZeros(d.Int);
}

bool IsPlaceholder(const PatternItem& item) {
    return item.Char() == '0' || item.Char() == '#';
}

} // namespace

std::string FormatNumber(double value, std::string_view pattern) {
    const auto sections = SplitSections(pattern);
    std::string_view section = sections[0];
    bool sign = value < 0;
    if (value < 0 && sections.size() > 1 && !sections[1].empty()) {
        section = sections[1];
        sign = false;
    } else if (value == 0 && sections.size() > 2 && !sections[2].empty()) {
        section = sections[2];
    }
    const auto items = LexSection(section);

    size_t point = items.size();
    for (size_t i = 0; i < items.size() && point == items.size(); ++i)
        if (items[i].Char() == '.')
            point = i;

    bool grouping = false, percent = false;
    size_t intPlaces = 0, firstZero = 0;
    bool zeroSeen = false;
    std::vector<char> fracPlaces;
    for (size_t i = 0; i < items.size(); ++i) {
        const char c = items[i].Char();
        if (c == '%')
            percent = true;
        if (i < point) {
            if (c == ',')
                grouping = true;
            if (c == '0' && !zeroSeen) {
                zeroSeen = true;
                firstZero = intPlaces;
            }
            if (IsPlaceholder(items[i]))
                ++intPlaces;
        } else if (i > point && IsPlaceholder(items[i])) {
            fracPlaces.push_back(c);
        }
    }
    const size_t minInt = zeroSeen ? intPlaces - firstZero : 0;

    Decimal d = ToDecimal(std::fabs(value));
    if (percent)
        ScaleToPercent(d);
    Round(d, fracPlaces.size());
    const bool nonZero = (d.Int + d.Frac).find_first_not_of('0') != std::string::npos;
    std::string digits = d.Int;
    if (digits.size() < minInt)
        digits.insert(0, minInt - digits.size(), '0');

    // Integer part, built from the right so that surplus digits land at the leftmost placeholder.
    std::vector<std::string> pieces;
    size_t remaining = digits.size(), emitted = 0;
    auto emit = [&](size_t count) {
        for (; count > 0 && remaining > 0; --count) {
            if (grouping && emitted > 0 && emitted % 3 == 0)
                pieces.emplace_back(",");
            pieces.emplace_back(1, digits[--remaining]);
            ++emitted;
        }
    };
    if (intPlaces == 0 && point < items.size())
        emit(remaining);
    for (size_t i = point, seen = 0; i-- > 0;) {
        if (IsPlaceholder(items[i]))
            emit(++seen == intPlaces ? remaining : 1);
        else if (items[i].Char() != ',')
            pieces.push_back(items[i].Text);
    }
    emit(remaining);

    std::string out = sign && nonZero ? "-" : "";
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it)
        out += *it;
    if (point == items.size())
        return out;

    // Fraction part: trailing zeros at "#" places are left out.
    size_t keep = fracPlaces.size();
    while (keep > 0 && fracPlaces[keep - 1] == '#' && d.Frac[keep - 1] == '0')
        --keep;
    out += '.';
    for (size_t i = point + 1, k = 0; i < items.size(); ++i) {
        if (IsPlaceholder(items[i])) {
            if (k < keep)
                out += d.Frac[k];
            ++k;
        } else {
            out += items[i].Text;
        }
    }
    return out;
}
