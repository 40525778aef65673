#pragma once
// The wizard's bilingual table of numbered texts. Every text comes back as UTF-8, exactly as it
// is shown: texts are never trimmed, because some begin with the separator that a caller relies
// on when it appends them to a preceding sentence. Line breaks are single line feeds.
#include <cstdint>
#include <span>
#include <string>

#include "text/language.h"

// The text with the given string ID in the given language. An ID the table does not hold gives
// an empty text (no caller asks for one; an empty caption is the harmless outcome).
std::string LoadText(uint16_t id, Language lang);

// Every string ID the table holds, in ascending order; each has an English and a German text.
std::span<const uint16_t> StringIds();
