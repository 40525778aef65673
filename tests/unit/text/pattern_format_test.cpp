#include "text/pattern_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct PatternCase {
    const char* Name;
    Variant Value;
    std::string Pattern;
    std::string Expected;
};

class PatternFormat : public testing::TestWithParam<PatternCase> {};

TEST_P(PatternFormat, Formats) {
    const auto& c = GetParam();
    EXPECT_EQ(FormatWithPattern(c.Value, c.Pattern), c.Expected);
}

const Date kTuesday{2024, 3, 5, 14, 7, 9};

INSTANTIATE_TEST_SUITE_P(
    Numbers, PatternFormat,
    testing::Values(PatternCase{"TwoDecimals", 2.5, "0.00", "2.50"},
                    PatternCase{"RoundsHalfAwayFromZero", 2.675, "0.00", "2.68"},
                    PatternCase{"RoundingCarries", 999.996, "0.00", "1000.00"},
                    PatternCase{"Grouping", 1234567.891, "#,##0.00", "1,234,567.89"},
                    PatternCase{"GroupingSmall", 12.0, "#,##0", "12"},
                    PatternCase{"Percent", 0.256, "0%", "26%"},
                    PatternCase{"LeadingZeros", int16_t{7}, "000", "007"},
                    PatternCase{"SurplusDigits", int32_t{123456}, "0", "123456"},
                    PatternCase{"OptionalInteger", 0.5, "#.00", ".50"},
                    PatternCase{"OptionalDecimals", int32_t{5}, "0.##", "5."},
                    PatternCase{"Negative", -3.14159, "0.00", "-3.14"},
                    PatternCase{"NegativeRoundsToZero", -0.001, "0.00", "0.00"},
                    PatternCase{"NegativeSection", int32_t{-5}, "0;(0)", "(5)"},
                    PatternCase{"ZeroSection", 0.0, "0.0;-0.0;\"zero\"", "zero"},
                    PatternCase{"Literals", 5551234567.0, "(000) 000-0000", "(555) 123-4567"},
                    PatternCase{"EscapedLiteral", int32_t{3}, "0\\#", "3#"},
                    PatternCase{"NumberText", std::string("2.81"), "0.00", "2.81"},
                    PatternCase{"OtherTextUnchanged", std::string("abc"), "0.00", "abc"},
                    PatternCase{"BooleanUnchanged", true, "0", "True"},
                    PatternCase{"DateAsSerial", Date{1900, 1, 1}, "0", "2"}),
    [](const auto& info) { return info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    Dates, PatternFormat,
    testing::Values(
        PatternCase{"Iso", kTuesday, "yyyy-mm-dd", "2024-03-05"},
        PatternCase{"German", kTuesday, "dd.mm.yyyy", "05.03.2024"},
        PatternCase{"Time", kTuesday, "hh:nn:ss", "14:07:09"},
        PatternCase{"MinutesAfterHour", kTuesday, "hh:mm", "14:07"},
        PatternCase{"MinutesBeforeSecond", kTuesday, "m:ss", "7:09"},
        PatternCase{"Short", kTuesday, "d/m/yy", "5/3/24"},
        PatternCase{"Names", kTuesday, "ddd dddd mmm mmmm", "Tue Tuesday Mar March"},
        PatternCase{"UpperCaseLetters", kTuesday, "YYYY-MM-DD", "2024-03-05"},
        PatternCase{"TwelveHour", kTuesday, "h:nn AM/PM", "2:07 PM"},
        PatternCase{"TwelveHourShort", Date{2024, 3, 5, 0, 30, 0}, "h:nn a/p", "12:30 a"},
        PatternCase{"WeekdaySundayFirst", kTuesday, "w", "3"},
        PatternCase{"Saturday", Date{2022, 1, 1}, "w", "7"},
        PatternCase{"FirstWeekHoldsJanuaryFirst", Date{2022, 1, 1}, "ww", "1"},
        PatternCase{"SecondWeekFromSunday", Date{2022, 1, 2}, "ww", "2"},
        PatternCase{"WeekOfYearEnd", Date{2022, 12, 31}, "ww", "53"},
        PatternCase{"QuarterAndDayOfYear", kTuesday, "q y", "1 65"},
        PatternCase{"LongDate", kTuesday, "dddddd", "Tuesday, March 5, 2024"},
        PatternCase{"QuotedLiteral", kTuesday, "\"day\" d", "day 5"},
        PatternCase{"SerialNumber", int32_t{45000}, "yyyy-mm-dd", "2023-03-15"},
        PatternCase{"NegativeSerial", -1.5, "yyyy-mm-dd hh:nn", "1899-12-29 12:00"},
        PatternCase{"DateText", std::string("2024-03-05 14:07:09"), "dd.mm.yy hh", "05.03.24 14"},
        PatternCase{"InvalidDateAsText", Date{2023, 2, 30}, "yyyy", "2023-02-30"},
        PatternCase{"SerialOutOfRange", 1e300, "yyyy", "1e+300"}),
    [](const auto& info) { return info.param.Name; });

INSTANTIATE_TEST_SUITE_P(
    Texts, PatternFormat,
    testing::Values(PatternCase{"FillsFromTheRight", std::string("abc"), "@@@@@", "  abc"},
                    PatternCase{"FillsFromTheLeft", std::string("abc"), "!@@@@@", "abc  "},
                    PatternCase{"OptionalPlaces", std::string("abc"), "&&&&&", "abc"},
                    PatternCase{"Upper", std::string("abc"), ">", "ABC"},
                    PatternCase{"Lower", std::string("AbC"), "<@@@", "abc"},
                    PatternCase{"SurplusCharacters", std::string("abcdef"), "@@@", "abcdef"},
                    PatternCase{"Literals", std::string("12345"), "@@@-@@", "123-45"},
                    PatternCase{"EmptySection", std::string(""), "@@;\"none\"", "none"},
                    PatternCase{"WholeUtf8Characters", std::string("\xC3\xA4\xC3\xB6"), "@@@",
                                " \xC3\xA4\xC3\xB6"},
                    PatternCase{"NumberAsText", int32_t{123}, "@@@@@", "  123"}),
    [](const auto& info) { return info.param.Name; });

TEST(PatternFormat, NotFiniteNumbersComeBackAsText) {
    EXPECT_EQ(FormatWithPattern(std::nan(""), "0.00"), ToText(std::nan("")));
    EXPECT_EQ(FormatWithPattern(-INFINITY, "yyyy"), ToText(-INFINITY));
}

} // namespace
