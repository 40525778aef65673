#include "text/printf.h"

#include <gtest/gtest.h>

#include <random>

#include "text/string_table.h"

namespace {

using ValueList = std::vector<Variant>;

struct GrammarCase {
    const char* Name;
    std::string Format;
    ValueList Values;
    std::string Expected;
};

class PrintfGrammar : public testing::TestWithParam<GrammarCase> {};

TEST_P(PrintfGrammar, Fills) {
    const auto& c = GetParam();
    EXPECT_EQ(modAPI::printf(c.Format, c.Values), c.Expected);
}

const ValueList ab{std::string("a"), std::string("b")};

INSTANTIATE_TEST_SUITE_P(
    Table, PrintfGrammar,
    testing::Values(
        GrammarCase{"PlainTextUnchanged", "plain ] text", ab, "plain ] text"},
        GrammarCase{"PlainTextNoValues", "plain text", {}, "plain text"},
        GrammarCase{"Star", "x[*]y", {std::string("v")}, "xvy"},
        GrammarCase{"NumberedSwap", "[2:*] [1:*]", ab, "b a"},
        GrammarCase{"NumberedPastEndTakesLast", "[3:*]", ab, "b"},
        GrammarCase{"NumberedNinePastEnd", "[9:*]", ab, "b"},
        GrammarCase{"NumberedKeepsRunningIndex", "[1:*][*]", ab, "aa"},
        GrammarCase{"NumberedBetweenStars", "[*][2:*][*]", ab, "abb"},
        GrammarCase{"EmptySkipsValue", "[][*]", ab, "b"},
        GrammarCase{"NumberedEmptyToken", "[2:][*]", ab, "a"},
        GrammarCase{"BracketToken", "[(][*]", ab, "[a"},
        GrammarCase{"BackslashToken", "[\\][*]", ab, "\\a"},
        GrammarCase{"NumberedBracketToken", "[1:(][*]", ab, "[a"},
        GrammarCase{"EscapedBracket", "\\[*]", {}, "[*]"},
        GrammarCase{"InsertedBracketNotReread", "[(]*]", {}, "[*]"},
        GrammarCase{"DoubleBackslash", "a\\\\b", {}, "a\\b"},
        GrammarCase{"DoubleBackslashProtectsN", "\\\\n", {}, "\\n"},
        GrammarCase{"DoubleBackslashBeforePlaceholder", "\\\\[*]", ab, "\\a"},
        GrammarCase{"TripleBackslashBracket", "\\\\\\[", {}, "\\["},
        GrammarCase{"Tab", "a\\tb", {}, "a\tb"}, GrammarCase{"CarriageReturn", "a\\rb", {}, "a\rb"},
        GrammarCase{"LineBreakIsCrLf", "a\\nb", {}, "a\r\nb"},
        GrammarCase{"OtherBackslashStays", "a\\xb\\", {}, "a\\xb\\"},
        GrammarCase{"ValueNotReread", "[*]", {std::string("[*]\\n[=1]")}, "[*]\\n[=1]"},
        GrammarCase{"CloseBracketAlone", "a]b", ab, "a]b"},
        GrammarCase{"CloseBracketAfterPlaceholder", "[*]]", ab, "a]"},
        GrammarCase{"UnusedValuesIgnored", "[*]", ab, "a"},
        GrammarCase{"IntegerValue", "[*]", {int32_t{42}}, "42"},
        GrammarCase{"PatternToken", "[0.00]", {2.5}, "2.50"},
        GrammarCase{"NumberedPattern", "[2:000] [*]", {std::string("a"), int16_t{7}}, "007 a"},
        GrammarCase{"Utf8Value", "\xC3\xA4[*]", {std::string("\xC3\xBC")}, "\xC3\xA4\xC3\xBC"}),
    [](const auto& info) { return info.param.Name; });

TEST(Printf, FillsTheRepairInstructionInBothLanguages) {
    for (auto lang : {Language::English, Language::German}) {
        const std::string caption = LoadText(106, lang);
        const std::string text = modAPI::printf(LoadText(142, lang), {caption});
        EXPECT_EQ(text, lang == Language::English ? "Click " + caption + "."
                                                  : "Klicken Sie auf '" + caption + "'.");
    }
}

struct ErrorCase {
    const char* Name;
    std::string Format;
    ValueList Values;
    int32_t Number;
    std::string Source;
    std::string Description;
};

class PrintfErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(PrintfErrors, Raises) {
    const auto& c = GetParam();
    try {
        modAPI::printf(c.Format, c.Values);
        FAIL() << "no error raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.Number, c.Number);
        EXPECT_EQ(e.Source, c.Source);
        EXPECT_EQ(e.Description, c.Description);
    }
}

const std::string kScript =
    "No script code allowed in placeholder string. Use the sprintf COM-component instead.";

std::string MissingValue(const std::string& token) {
    return "Missing value in printf-call for format string '[" + token + "]'!";
}

std::string MissingBracket(int position) {
    return "Missing ']' after '[' at position " + std::to_string(position) + "!";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PrintfErrors,
    testing::Values(
        ErrorCase{"SecondStarWithOneValue",
                  "[*] [*]",
                  {std::string("a")},
                  -2147221502,
                  "printf",
                  MissingValue("*")},
        ErrorCase{"StarWithNoValues", "[*]", {}, -2147221502, "printf", MissingValue("*")},
        ErrorCase{"NumberedWithNoValues", "[1:*]", {}, -2147221502, "printf", MissingValue("*")},
        ErrorCase{"NumberedPatternWithNoValues",
                  "[2:0.00]",
                  {},
                  -2147221502,
                  "printf",
                  MissingValue("0.00")},
        ErrorCase{"PatternPastEnd",
                  "[*][yyyy]",
                  {std::string("a")},
                  -2147221502,
                  "printf",
                  MissingValue("yyyy")},
        ErrorCase{"BracketAtEnd", "x[", {}, -2147221503, "printf", MissingBracket(2)},
        ErrorCase{"PositionAfterReplacement",
                  "ab[*]c[",
                  {std::string("xyz")},
                  -2147221503,
                  "printf",
                  MissingBracket(7)},
        ErrorCase{"PositionCountsCharacters",
                  "\xC3\xA4[*]\xC3\xB6[",
                  {std::string("\xC3\xBC")},
                  -2147221503,
                  "printf",
                  MissingBracket(4)},
        ErrorCase{"PositionAfterEscapes", "\\n\\\\[", {}, -2147221503, "printf", MissingBracket(4)},
        ErrorCase{
            "ValueErrorBeforeBracketError", "[*][", {}, -2147221502, "printf", MissingValue("*")},
        ErrorCase{"Script", "[=1+1]", ab, -2147221501, "sprintf", kScript},
        ErrorCase{"NumberedScript", "[2:=x]", ab, -2147221501, "sprintf", kScript},
        ErrorCase{"ScriptWithNoValues", "[=]", {}, -2147221501, "sprintf", kScript}),
    [](const auto& info) { return info.param.Name; });

TEST(Printf, ErrorNumbersAreTheSignedForms) {
    EXPECT_EQ(kErrPrintfMissingBracket, -2147221503);
    EXPECT_EQ(kErrPrintfMissingValue, -2147221502);
    EXPECT_EQ(kErrPrintfScript, -2147221501);
}

// Arbitrary formats and values: every call ends in a text or a RaisedError, never a crash (the
// sanitizers watch the host build).
TEST(Printf, SurvivesArbitraryInput) {
    static constexpr std::string_view kAlphabet =
        "[[]]\\\\*:(=129#0.,%@&<>!dDmyhnswqcAP/;\"a \xC3\xA4\xFF";
    std::mt19937 rng(12345);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    auto text = [&] {
        std::string s;
        for (size_t n = pick(16); n > 0; --n)
            s += kAlphabet[pick(kAlphabet.size())];
        return s;
    };
    for (int round = 0; round < 10000; ++round) {
        ValueList values;
        for (size_t n = pick(4); n > 0; --n) {
            switch (pick(6)) {
            case 0:
                values.emplace_back(text());
                break;
            case 1:
                values.emplace_back(static_cast<int32_t>(rng()));
                break;
            case 2:
                values.emplace_back(std::uniform_real_distribution<double>(-1e6, 1e6)(rng));
                break;
            case 3:
                values.emplace_back(Date{static_cast<int>(pick(12000)), static_cast<int>(pick(14)),
                                         static_cast<int>(pick(33)), 25, -1, 61});
                break;
            case 4:
                values.emplace_back(
                    Date{1 + static_cast<int>(pick(9999)), 1 + static_cast<int>(pick(12)),
                         1 + static_cast<int>(pick(28)), static_cast<int>(pick(24)), 0, 0});
                break;
            default:
                values.emplace_back();
                break;
            }
        }
        const std::string format = "[" + text() + "]" + text();
        try {
            modAPI::printf(format, values);
        } catch (const RaisedError&) {
        }
    }
}

} // namespace
