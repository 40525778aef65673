#include "text/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

std::string StdShortest(double v) {
    char buf[1100];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string StdFixed(double v) {
    char buf[1100];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

// What std::from_chars makes of the whole text: false when it rejects it or leaves some over.
bool StdParse(const std::string& s, double& v) {
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct WriteCase {
    double Value;
    const char* Shortest;
    const char* Fixed;
};

TEST(NumberText, WritesTheShortestFormAndTheFixedForm) {
    const double inf = std::numeric_limits<double>::infinity();
    const WriteCase rows[] = {
        {0.0, "0", "0"},
        {-0.0, "-0", "-0"},
        {2.81, "2.81", "2.81"},
        {-3.14159, "-3.14159", "-3.14159"},
        {0.1, "0.1", "0.1"},
        {10000, "10000", "10000"},   // a tie between the forms goes to fixed
        {100000, "1e+05", "100000"}, // scientific is shorter
        {0.001, "0.001", "0.001"},   // tie
        {0.0001, "1e-04", "0.0001"}, // two exponent digits at least
        {4.35e-7, "4.35e-07", "0.000000435"},
        {1e300, "1e+300", nullptr}, // fixed: the exact 301 digits, checked below
        {1e23, "1e+23", "99999999999999991611392"},
        {std::ldexp(1.0, 70), "1180591620717411303424", "1180591620717411303424"},
        {123456789012345680.0, "123456789012345680", "123456789012345680"},
        {5e-324, "5e-324", nullptr},
        {1.7976931348623157e308, "1.7976931348623157e+308", nullptr},
        {inf, "inf", "inf"},
        {-inf, "-inf", "-inf"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ShortestNumberText(row.Value), row.Shortest);
        if (row.Fixed) {
            EXPECT_EQ(FixedNumberText(row.Value), row.Fixed);
        }
        EXPECT_EQ(FixedNumberText(row.Value), StdFixed(row.Value));
    }
    EXPECT_EQ(FixedNumberText(1e300).size(), 301u);
    EXPECT_EQ(FixedNumberText(5e-324), "0." + std::string(323, '0') + "5");
    EXPECT_EQ(ShortestNumberText(std::nan("")), StdShortest(std::nan("")));
    EXPECT_EQ(ShortestNumberText(-std::nan("")), StdShortest(-std::nan("")));
}

// The standard library's forms are the contract: the same text for every double.
TEST(NumberText, WritesWhatToCharsWrites) {
    std::vector<double> values;
    // Powers of two, where the gap below is half the gap above, and the doubles just below them.
    for (int k = -1074; k <= 1023; ++k) {
        values.push_back(std::ldexp(1.0, k));
        values.push_back(std::nextafter(std::ldexp(1.0, k), 0.0));
    }
    for (int k = -325; k <= 308; ++k)
        values.push_back(std::pow(10.0, k));
    std::mt19937_64 rng(20261207);
    for (int i = 0; i < 2500; ++i) {
        const uint64_t bits = rng();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        values.push_back(v);
        // Short decimals, the numbers texts usually hold.
        values.push_back(static_cast<double>(rng() % 100000000) /
                         std::pow(10.0, static_cast<int>(rng() % 30)));
    }
    int failures = 0;
    for (double v : values) {
        if (ShortestNumberText(v) != StdShortest(v) || FixedNumberText(v) != StdFixed(v)) {
            ADD_FAILURE() << StdShortest(v) << ": " << ShortestNumberText(v) << " / "
                          << FixedNumberText(v);
            if (++failures == 10)
                break;
        }
    }
}

TEST(NumberText, EveryTextReadsBackAsTheSameDouble) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 5000; ++i) {
        const uint64_t bits = rng();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v))
            continue;
        double back = 0;
        ASSERT_TRUE(ParseNumberText(ShortestNumberText(v), back)) << ShortestNumberText(v);
        EXPECT_TRUE(SameBits(back, v)) << ShortestNumberText(v);
    }
}

struct ParseCase {
    const char* Text;
    bool Accepted;
    double Value;
};

TEST(NumberText, ReadsTheInvariantFormOnly) {
    const ParseCase rows[] = {
        {"2.81", true, 2.81},
        {"-2.81", true, -2.81},
        {".5", true, 0.5},
        {"5.", true, 5},
        {"-.5", true, -0.5},
        {"007", true, 7},
        {"1e5", true, 1e5},
        {"1E+5", true, 1e5},
        {"1.5e-3", true, 1.5e-3},
        {"0e999999999999999999999", true, 0},
        {"1e-320", true, 1e-320}, // below the normal range, above zero
        {"3e-324", true, 5e-324}, // rounds up to the smallest double
        {"", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"+1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"2,81", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"1.2.3", false, 0},
        {"inf", false, 0},
        {"nan", false, 0},
        {"0x10", false, 0},
        {"1e309", false, 0},  // too large
        {"2e-324", false, 0}, // would read as zero
        {"1e-99999999999999999999999", false, 0},
        {"1e99999999999999999999999", false, 0},
    };
    for (const auto& row : rows) {
        double value = -42;
        EXPECT_EQ(ParseNumberText(row.Text, value), row.Accepted) << row.Text;
        EXPECT_EQ(value, row.Accepted ? row.Value : -42) << row.Text;
    }
    double z = 1;
    ASSERT_TRUE(ParseNumberText("-0.0", z));
    EXPECT_TRUE(std::signbit(z));
}

TEST(NumberText, LongDigitStringsRoundCorrectly) {
    // 1 + 2^-53 lies exactly halfway between 1 and the next double: it rounds to even (1), and
    // any digit beyond it, however far out, tips it up.
    const std::string half = "1.00000000000000011102230246251565404236316680908203125";
    double v = 0;
    ASSERT_TRUE(ParseNumberText(half, v));
    EXPECT_EQ(v, 1.0);
    ASSERT_TRUE(ParseNumberText(half + std::string(2000, '0') + "1", v));
    EXPECT_EQ(v, std::nextafter(1.0, 2.0));
    ASSERT_TRUE(ParseNumberText("0." + std::string(400, '0') + "1e401", v));
    EXPECT_EQ(v, 1.0);
    ASSERT_TRUE(ParseNumberText("1" + std::string(5000, '0') + "e-5000", v));
    EXPECT_EQ(v, 1.0);
}

// Points exactly halfway between neighbouring doubles go to the even one, and anything beyond
// them, however little, to the nearer one; at the ends of the range too, and where the gap below
// a power of two is half the gap above it.
TEST(NumberText, HalfwayPointsRoundToTheEvenNeighbour) {
    const double denorm = std::numeric_limits<double>::denorm_min();
    const double minNormal = std::numeric_limits<double>::min();
    const double largest = std::numeric_limits<double>::max();
    std::vector<double> lows = {denorm,
                                2 * denorm,
                                3 * denorm,
                                minNormal,
                                std::nextafter(minNormal, 0.0),
                                1.0,
                                std::nextafter(1.0, 0.0),
                                0.1,
                                1e23,
                                std::ldexp(1.0, -1022 + 52),
                                std::nextafter(largest, 0.0),
                                largest};
    for (double low : lows) {
        // Exact in long double: 64 bits hold the 54 a halfway point needs.
        const long double next =
            low == largest ? std::ldexp(1.0L, 1024) : std::nextafter(low, 2 * largest);
        const long double half = (static_cast<long double>(low) + next) / 2;
        char buf[1300];
        std::snprintf(buf, sizeof buf, "%.1100Le", half);
        std::string exact = buf;
        const size_t e = exact.find('e');
        const size_t last = exact.find_last_not_of('0', e - 1);
        const std::string mantissa = exact.substr(0, last + 1), power = exact.substr(e);
        std::string below = mantissa;
        for (size_t i = below.size(); i-- > 0;) {
            if (below[i] == '.')
                continue;
            if (below[i] > '0') {
                --below[i];
                break;
            }
            below[i] = '9';
        }
        for (const std::string& text :
             {mantissa + power, mantissa + "000000000001" + power, below + "9999" + power}) {
            double mine = -1, theirs = -1;
            const bool accepted = ParseNumberText(text, mine);
            EXPECT_EQ(accepted, StdParse(text, theirs)) << text.substr(0, 40);
            if (accepted) {
                EXPECT_TRUE(SameBits(mine, theirs)) << text.substr(0, 40);
            }
        }
    }
}

TEST(NumberText, ReadsWhatFromCharsReads) {
    static constexpr std::string_view kAlphabet = "0123456789.-eE+";
    std::mt19937_64 rng(99);
    int failures = 0;
    for (int i = 0; i < 30000 && failures < 10; ++i) {
        std::string s;
        for (size_t n = 1 + rng() % 12; n > 0; --n)
            s += kAlphabet[rng() % kAlphabet.size()];
        double mine = -7, theirs = -7;
        const bool accepted = ParseNumberText(s, mine);
        if (accepted != StdParse(s, theirs) || (accepted && !SameBits(mine, theirs))) {
            ADD_FAILURE() << "'" << s << "'";
            ++failures;
        }
    }
}

TEST(NumberText, TheLocaleDoesNotChangeTheDecimalPoint) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    const std::string shortest = ShortestNumberText(1234.5678);
    const std::string fixed = FixedNumberText(4.35e-7);
    double v = 0;
    const bool read = ParseNumberText("2.81", v);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(shortest, "1234.5678");
    EXPECT_EQ(fixed, "0.000000435");
    EXPECT_TRUE(read);
    EXPECT_EQ(v, 2.81);
}

} // namespace
