#pragma once
// The two languages of the string table. The user's language comes from the platform as a
// language identifier; every German variant (Germany, Austria, Switzerland, ...) reads German,
// every other language English.
#include <cstdint>

enum class Language { English, German };

constexpr Language LanguageFromLangId(uint16_t langId) {
    return (langId & 0x3FF) == 0x07 ? Language::German : Language::English;
}
