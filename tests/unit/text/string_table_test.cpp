#include "text/string_table.h"

#include <gtest/gtest.h>

#include <set>

#include "text/utf8.h"

namespace {

constexpr Language kBoth[] = {Language::English, Language::German};

std::set<uint16_t> HeldIds() {
    const auto ids = StringIds();
    return {ids.begin(), ids.end()};
}

TEST(StringTable, HoldsEveryIdFrom100To157ExceptTheGapsAndTheHostReasons) {
    std::set<uint16_t> expected;
    for (uint16_t id = 100; id <= 157; ++id)
        expected.insert(id);
    for (uint16_t gap : {101, 105, 109, 116, 130, 133})
        expected.erase(gap);
    for (uint16_t reason : {160, 161, 162, 163, 164, 165}) // the session end, the checks
        expected.insert(reason);
    // The console companion's and the providers' texts, the answer on databases, and the
    // console repair's stop, the well-known results' words, the run in one line and its event,
    // install.
    for (uint16_t id = 200; id <= 353; ++id)
        expected.insert(id);
    for (uint16_t id = 360; id <= 378; ++id) // the window on databases
        expected.insert(id);
    EXPECT_EQ(HeldIds(), expected);
    EXPECT_EQ(StringIds().size(), expected.size()); // no duplicates
}

TEST(StringTable, EveryIdHasBothTexts) {
    for (uint16_t id : StringIds())
        for (auto lang : kBoth)
            EXPECT_FALSE(LoadText(id, lang).empty()) << id;
}

TEST(StringTable, UnknownIdsGiveEmptyText) {
    for (uint16_t id : {0, 99, 101, 105, 109, 116, 130, 133, 158, 65535})
        for (auto lang : kBoth)
            EXPECT_EQ(LoadText(id, lang), "") << id;
}

TEST(StringTable, TextsAreWellFormedUtf8WithoutCarriageReturns) {
    for (uint16_t id : StringIds()) {
        for (auto lang : kBoth) {
            const std::string text = LoadText(id, lang);
            EXPECT_EQ(text.find('\r'), std::string::npos) << id;
            for (size_t i = 0; i < text.size(); i += Utf8CharLength(text, i))
                EXPECT_FALSE(static_cast<unsigned char>(text[i]) >= 0x80 &&
                             Utf8CharLength(text, i) == 1)
                    << id;
        }
    }
}

TEST(StringTable, GermanLettersAreUtf8) {
    EXPECT_EQ(LoadText(125, Language::German), "< Zur\xC3\xBC"
                                               "ck");
    EXPECT_EQ(LoadText(149, Language::German), "Schlie\xC3\x9F"
                                               "en");
    EXPECT_EQ(LoadText(154, Language::German)
                  .rfind("\xC3\x9C"
                         "berpr\xC3\xBC"
                         "fung",
                         0),
              0u);
}

TEST(StringTable, OnlyTheMarkedTextsCarryOneMarker) {
    const std::set<uint16_t> marked{103, 123, 132, 141, 142, 143, 160, 165, 201, 202, 203, 205,
                                    206, 207, 208, 209, 210, 211, 212, 214, 224, 228, 229, 231,
                                    243, 245, 248, 249, 250, 252, 253, 260, 325, 334, 335, 336,
                                    337, 338, 339, 340, 341, 343, 344, 347, 348, 351};
    for (uint16_t id : StringIds()) {
        for (auto lang : kBoth) {
            const std::string text = LoadText(id, lang);
            const size_t first = text.find("[*]");
            EXPECT_EQ(first != std::string::npos, marked.count(id) == 1) << id;
            if (first != std::string::npos) {
                EXPECT_EQ(text.find("[*]", first + 1), std::string::npos) << id;
            }
        }
    }
}

struct Separator {
    uint16_t Id;
    std::string English;
    std::string German;
};

class LeadingSeparator : public testing::TestWithParam<Separator> {};

TEST_P(LeadingSeparator, IsKept) {
    const auto& s = GetParam();
    for (auto lang : kBoth) {
        const std::string& sep = lang == Language::English ? s.English : s.German;
        const std::string text = LoadText(s.Id, lang);
        ASSERT_GT(text.size(), sep.size());
        EXPECT_EQ(text.substr(0, sep.size()), sep) << s.Id;
        EXPECT_NE(text[sep.size()], ' ') << s.Id;
        EXPECT_NE(text[sep.size()], '\n') << s.Id;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LeadingSeparator,
                         testing::Values(Separator{128, " ", " "}, Separator{144, " ", " "},
                                         Separator{145, "\n", " "},
                                         Separator{147, "\n\n", "\n\n"}));

TEST(StringTable, NextButtonFollowsTheLanguage) {
    EXPECT_EQ(LoadText(124, LanguageFromLangId(0x0407)), "Weiter >");
    EXPECT_EQ(LoadText(124, LanguageFromLangId(0x0C07)), "Weiter >"); // Austria
    EXPECT_EQ(LoadText(124, LanguageFromLangId(0x0409)), "Next >");
    EXPECT_EQ(LoadText(124, LanguageFromLangId(0x040C)), "Next >"); // French
}

TEST(StringTable, WelcomeHeadingBreaksOnlyInEnglish) {
    EXPECT_EQ(LoadText(112, Language::English), "Welcome to the Velmora\nQuendry");
    EXPECT_EQ(LoadText(112, Language::German).find('\n'), std::string::npos);
}

TEST(StringTable, GermanQuotesAroundWeiter) {
    for (uint16_t id : {110, 146})
        EXPECT_NE(LoadText(id, Language::German).find("\"Weiter\""), std::string::npos) << id;
}

TEST(StringTable, ClosingLetterEndings) {
    const std::string english = LoadText(134, Language::English);
    const std::string german = LoadText(134, Language::German);
    const std::string signature = "Many thanks!\n\nJonas Brenner\n(Velmora GmbH)";
    ASSERT_GE(english.size(), signature.size());
    EXPECT_EQ(english.substr(english.size() - signature.size()), signature);
    EXPECT_NE(german.find("per E-Mail an support@velmora.example.\n\n"), std::string::npos);
    const std::string end = "Das Velmora Support-Team\n";
    ASSERT_GE(german.size(), end.size());
    EXPECT_EQ(german.substr(german.size() - end.size()), end);
}

TEST(StringTable, WebAddressesShareOneBase) {
    struct Address {
        uint16_t Id;
        const char* English;
        const char* German;
    };
    const Address addresses[] = {
        {117, "/en/download/mdac.html", "/de/download/mdac.html"},
        {118, "/en/download/mdac_donation.html", "/de/download/mdac_spende.html"},
        {120, "/en/download/repair_mdac.html", "/de/download/mdac_reparieren.html"},
        {122, "/en/download/mdac_xp_sp2.html", "/de/download/mdac_xp_sp2.html"},
    };
    std::set<std::string> bases;
    for (const auto& a : addresses) {
        for (auto lang : kBoth) {
            const std::string path = lang == Language::English ? a.English : a.German;
            const std::string url = LoadText(a.Id, lang);
            ASSERT_GT(url.size(), path.size()) << a.Id;
            EXPECT_EQ(url.substr(url.size() - path.size()), path) << a.Id;
            bases.insert(url.substr(0, url.size() - path.size()));
        }
    }
    ASSERT_EQ(bases.size(), 1u);
    const std::string base = *bases.begin();
    EXPECT_TRUE(base.rfind("https://", 0) == 0 || base.rfind("http://", 0) == 0) << base;
    EXPECT_NE(base.back(), '/');
}

} // namespace
