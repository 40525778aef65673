#include "text/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "text/decimal_double.h"

namespace {

// A positive number as its significant digits d1 d2 ... dn (d1 not 0) and the power of ten of
// the first one: d1.d2...dn x 10^Exponent.
struct Decimal {
    std::string Digits;
    long Exponent = 0;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

double Read(const Decimal& d) {
    return DecimalToDouble(d.Digits, d.Exponent - static_cast<long>(d.Digits.size()) + 1);
}

void StripTrailingZeros(Decimal& d) {
    const size_t last = d.Digits.find_last_not_of('0');
    d.Digits.erase(last == std::string::npos ? 1 : last + 1);
}

// printf's correctly rounded scientific form with `significant` digits. Whatever the locale puts
// between the first digit and the others is skipped.
Decimal Rounded(double magnitude, int significant) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, magnitude);
    Decimal d;
    const char* p = buf;
    for (; *p && *p != 'e' && *p != 'E'; ++p)
        if (IsDigit(*p))
            d.Digits += *p;
    if (*p)
        ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    long e = 0;
    for (; IsDigit(*p); ++p)
        e = e * 10 + (*p - '0');
    d.Exponent = negative ? -e : e;
    return d;
}

// One unit more in the last digit.
Decimal NextUp(Decimal d) {
    size_t i = d.Digits.size();
    while (i > 0 && d.Digits[i - 1] == '9')
        d.Digits[--i] = '0';
    if (i == 0) {
        d.Digits.insert(d.Digits.begin(), '1');
        ++d.Exponent;
    } else {
        ++d.Digits[i - 1];
    }
    StripTrailingZeros(d);
    return d;
}

// The fewest digits that read back as `magnitude` (finite, greater than 0), the nearest of them
// when several do. The correctly rounded digits of a length are the nearest of that length; only
// at a power of two, where the gap to the double below is half the gap above, can the digits one
// unit above them read back when they themselves don't. Where some digits of a length read back,
// some of every greater length do too, so the shortest length is found by halving.
Decimal Shortest(double magnitude) {
    int exponent = 0;
    const bool powerOfTwo = std::frexp(magnitude, &exponent) == 0.5;
    std::optional<Decimal> found;
    auto readsBack = [&](int n) {
        Decimal d = Rounded(magnitude, n);
        if (Read(d) == magnitude) {
            StripTrailingZeros(d);
            found = d;
            return true;
        }
        if (powerOfTwo) {
            Decimal up = NextUp(d);
            if (Read(up) == magnitude) {
                found = up;
                return true;
            }
        }
        return false;
    };
    int low = 1, high = 17; // seventeen digits always read back
    while (low < high) {
        const int mid = (low + high) / 2;
        if (readsBack(mid))
            high = mid;
        else
            low = mid + 1;
    }
    readsBack(low);
    return *found;
}

std::string Fixed(double magnitude, const Decimal& d) {
    const long n = static_cast<long>(d.Digits.size());
    if (d.Exponent >= n - 1) {
        // A whole number: its exact digits, which printf gives without any decimal point.
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.0f", magnitude);
        return buf;
    }
    if (d.Exponent >= 0) {
        const size_t point = static_cast<size_t>(d.Exponent) + 1;
        return d.Digits.substr(0, point) + "." + d.Digits.substr(point);
    }
    return "0." + std::string(static_cast<size_t>(-d.Exponent - 1), '0') + d.Digits;
}

std::string Scientific(const Decimal& d) {
    std::string s(1, d.Digits[0]);
    if (d.Digits.size() > 1)
        s += "." + d.Digits.substr(1);
    s += d.Exponent < 0 ? "e-" : "e+";
    const long e = std::labs(d.Exponent);
    if (e < 10)
        s += '0';
    return s + std::to_string(e);
}

std::string NotFiniteText(double value) {
    const char* sign = std::signbit(value) ? "-" : "";
    return std::string(sign) + (std::isnan(value) ? "nan" : "inf");
}

// Lengths without the sign.
size_t FixedLength(const Decimal& d) {
    const long n = static_cast<long>(d.Digits.size());
    if (d.Exponent >= n - 1)
        return static_cast<size_t>(d.Exponent) + 1;
    if (d.Exponent >= 0)
        return static_cast<size_t>(n) + 1;
    return static_cast<size_t>(n + 1 - d.Exponent);
}

size_t ScientificLength(const Decimal& d) {
    const size_t n = d.Digits.size();
    const long e = std::labs(d.Exponent);
    return n + (n > 1 ? 1 : 0) + 2 + (e >= 100 ? 3 : 2);
}

// The shortest digits in fixed form, or in scientific form where that is shorter and allowed.
std::string NumberText(double value, bool scientificAllowed) {
    if (!std::isfinite(value))
        return NotFiniteText(value);
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0)
        return sign + "0";
    const double magnitude = std::fabs(value);
    const Decimal d = Shortest(magnitude);
    const bool fixed = !scientificAllowed || FixedLength(d) <= ScientificLength(d);
    return sign + (fixed ? Fixed(magnitude, d) : Scientific(d));
}

} // namespace

std::string ShortestNumberText(double value) {
    return NumberText(value, true);
}

std::string FixedNumberText(double value) {
    return NumberText(value, false);
}

bool ParseNumberText(std::string_view text, double& value) {
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative)
        ++i;
    std::string digits;
    size_t intDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++intDigits)
        digits += text[i];
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && IsDigit(text[i]); ++i)
            digits += text[i];
    if (digits.empty())
        return false;
    // Far beyond any exponent that matters, and far from overflowing.
    constexpr long long kExponentLimit = 1'000'000'000'000LL;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        if (i == text.size() || !IsDigit(text[i]))
            return false;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            exponent = std::min(exponent * 10 + (text[i] - '0'), kExponentLimit);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return false;

    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    const size_t last = digits.find_last_not_of('0');
    // The power of ten of the first significant digit: the value lies in [10^e, 10^(e+1)).
    const long long e =
        static_cast<long long>(intDigits) - 1 - static_cast<long long>(first) + exponent;
    // Beyond the largest double (1.8e308), or below half the smallest (2.5e-324): out of range.
    if (e >= 309 || e <= -325)
        return false;
    Decimal d;
    d.Digits = digits.substr(first, last - first + 1);
    d.Exponent = static_cast<long>(e);
    // Every point halfway between two doubles has at most 767 significant digits, so digits cut
    // after the 800th, with a 1 standing in for the nonzero rest, round exactly as all of them do.
    constexpr size_t kKeptDigits = 800;
    if (d.Digits.size() > kKeptDigits) {
        d.Digits.resize(kKeptDigits);
        d.Digits += '1';
    }
    const double magnitude = Read(d);
    if (magnitude == 0 || std::isinf(magnitude))
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}
