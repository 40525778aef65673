// The number texts with MinGW's own C library, as the product has them: its printf and strtod do
// the arithmetic there, and its printf writes the locale's decimal separator.
#include "text/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

std::string StdText(double v, bool fixed) {
    char buf[1100];
    const auto r = fixed ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                         : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

TEST(NumberTextWin, WritesAndReadsWhatTheStandardLibraryDoes) {
    std::mt19937_64 rng(31);
    std::vector<double> values = {0.1, 2.81, 1e23, 5e-324, 1.7976931348623157e308, 1e-5, 1e5};
    for (int k = -1074; k <= 1023; k += 7)
        values.push_back(std::ldexp(1.0, k));
    for (int i = 0; i < 3000; ++i) {
        const uint64_t bits = rng();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    int failures = 0;
    for (double v : values) {
        double back = 0;
        const std::string text = ShortestNumberText(v);
        const bool ok = text == StdText(v, false) && FixedNumberText(v) == StdText(v, true) &&
                        ParseNumberText(text, back) && back == v;
        if (!ok) {
            ADD_FAILURE() << StdText(v, false) << ": " << text << " / " << FixedNumberText(v);
            if (++failures == 10)
                break;
        }
    }
}

TEST(NumberTextWin, AGermanLocaleKeepsThePoint) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "German_Germany.1252") && !std::setlocale(LC_ALL, "German"))
        GTEST_SKIP() << "no German locale";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string shortest = ShortestNumberText(1234.5678);
    const std::string fixed = FixedNumberText(4.35e-7);
    double v = 0;
    const bool read = ParseNumberText("2.81", v);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_STREQ(probe, "1,5") << "printf follows the locale here";
    EXPECT_EQ(shortest, "1234.5678");
    EXPECT_EQ(fixed, "0.000000435");
    EXPECT_TRUE(read);
    EXPECT_EQ(v, 2.81);
}

} // namespace
