#include "text/result_words.h"

#include "text/string_table.h"

namespace {

// Results the checks meet often enough that a helpdesk must read them everywhere, also where the
// system has no text for them (Wine, a stripped-down Windows): each with its words, as the
// loader's error and as the HRESULT that carries it.
struct KnownResult {
    uint32_t Code;
    uint16_t Text;
};
constexpr KnownResult kKnownResults[] = {
    {.Code = 0x80040111u, .Text = 326}, // CLASS_E_CLASSNOTAVAILABLE
    {.Code = 0x80040154u, .Text = 327}, // REGDB_E_CLASSNOTREG
    {.Code = 1114, .Text = 328},        // ERROR_DLL_INIT_FAILED
    {.Code = 0x8007045Au, .Text = 328}, // ... as an HRESULT
    {.Code = 126, .Text = 329},         // ERROR_MOD_NOT_FOUND
    {.Code = 0x8007007Eu, .Text = 329}, // ... as an HRESULT
    {.Code = 0x80004002u, .Text = 330}, // E_NOINTERFACE
    {.Code = 5, .Text = 331},           // ERROR_ACCESS_DENIED
    {.Code = 0x80070005u, .Text = 331}, // E_ACCESSDENIED
};

} // namespace

std::optional<std::string> KnownResultText(uint32_t code, Language lang) {
    for (const KnownResult& known : kKnownResults)
        if (known.Code == code)
            return LoadText(known.Text, lang);
    return std::nullopt;
}
