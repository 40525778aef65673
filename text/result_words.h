#pragma once
// Words for the results the checks meet most, in both languages.
#include <cstdint>
#include <optional>
#include <string>

#include "text/language.h"

// Words of their own for the well-known COM and loader results (class not available, class not
// registered, error in the library, library not found, no such interface, access denied), as a
// loader's error code or as an HRESULT; nothing for any other code. Every reason takes these
// before it asks the system for its text, so that they read the same everywhere.
std::optional<std::string> KnownResultText(uint32_t code, Language lang);
