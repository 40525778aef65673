#include "repair/registration_report.h"

#include <cstdio>

#include "text/printf.h"
#include "text/result_words.h"
#include "text/string_table.h"

namespace {

constexpr uint16_t kTextNotRegistered = 141;
constexpr uint16_t kTextCrashed = 160;
constexpr uint16_t kTextTimedOut = 161;
constexpr uint16_t kTextEndedProcess = 162;
constexpr uint16_t kTextHostRefused = 163;
constexpr uint16_t kTextProviderWorks = 246;
constexpr uint16_t kTextNoProgId = 247;
constexpr uint16_t kTextNoClass = 248;
constexpr uint16_t kTextLibraryMissing = 249;
constexpr uint16_t kTextNotCreated = 250;
constexpr uint16_t kTextNoAnswer = 251;
constexpr uint16_t kTextProviderFails = 252;

std::string Hex(int32_t status) {
    char buf[16] = {};
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(static_cast<uint32_t>(status)));
    return buf;
}

// The well-known result's words, or the system's text as one line (its trailing line break
// dropped, inner ones made spaces, and the insert the system leaves for the file's name filled
// with it).
std::string SystemReason(ILibraryApi& api, const RegistrationOutcome& outcome, Language lang) {
    if (const auto known = KnownResultText(outcome.LastError, lang))
        return *known + " (" + std::to_string(outcome.LastError) + ")";
    std::string text = GetErrorText(api, outcome.LastError);
    if (text == kErrorTextNotFound)
        return text + " (" + std::to_string(outcome.LastError) + ")";
    return OneLine(text, outcome.DisplayName);
}

// The status as words with the code beside them where it is a well-known one.
std::string StatusReason(int32_t status, Language lang) {
    const auto known = KnownResultText(static_cast<uint32_t>(status), lang);
    return known ? *known + " (" + Hex(status) + ")" : Hex(status);
}

} // namespace

std::string OneLine(const std::string& systemText, const std::string& insert) {
    std::string text = systemText;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += ' ';
        } else if (text.compare(i, 2, "%1") == 0) {
            line += insert;
            ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

std::string RegistrationFailureReason(ILibraryApi& api, const RegistrationOutcome& outcome,
                                      Language lang) {
    switch (outcome.Result) {
    case RegistrationResult::Registered:
        return {};
    case RegistrationResult::NotLoaded:
    case RegistrationResult::NoEntryPoint:
        return SystemReason(api, outcome, lang);
    case RegistrationResult::CallFailed:
    case RegistrationResult::NotCreated:
        return StatusReason(outcome.Status, lang);
    case RegistrationResult::Crashed:
        return modAPI::printf(LoadText(kTextCrashed, lang), {Hex(outcome.Status)});
    case RegistrationResult::TimedOut:
        return LoadText(kTextTimedOut, lang);
    case RegistrationResult::EndedProcess:
        return LoadText(kTextEndedProcess, lang);
    case RegistrationResult::HostRefused:
        return LoadText(kTextHostRefused, lang);
    }
    return {};
}

std::string RegistrationFailureLine(ILibraryApi& api, const RegistrationOutcome& outcome,
                                    Language lang) {
    return outcome.DisplayName + ": " + RegistrationFailureReason(api, outcome, lang);
}

std::string RegistrationFailureText(ILibraryApi& api,
                                    const std::vector<RegistrationOutcome>& failures,
                                    Language lang) {
    // One line per library: the sentence of text 141 with its name, then the reason.
    std::string text;
    for (const RegistrationOutcome& failure : failures) {
        if (!text.empty())
            text += '\n';
        text += modAPI::printf(LoadText(kTextNotRegistered, lang), {failure.DisplayName}) + " (" +
                RegistrationFailureReason(api, failure, lang) + ")";
    }
    return text;
}

std::string ProviderReason(ILibraryApi& api, const ProviderCheck& check, Language lang) {
    switch (check.State) {
    case ProviderState::Works:
        return LoadText(kTextProviderWorks, lang);
    case ProviderState::NoProgId:
        return LoadText(kTextNoProgId, lang);
    case ProviderState::NoClass:
        return modAPI::printf(LoadText(kTextNoClass, lang), {check.Clsid});
    case ProviderState::LibraryMissing:
        return modAPI::printf(LoadText(kTextLibraryMissing, lang), {check.Library});
    case ProviderState::NotCreated: {
        if (KnownResultText(static_cast<uint32_t>(check.Status), lang))
            return modAPI::printf(LoadText(kTextNotCreated, lang),
                                  {StatusReason(check.Status, lang)});
        const std::string text = GetErrorText(api, static_cast<uint32_t>(check.Status));
        const std::string system = text == kErrorTextNotFound ? text : OneLine(text, check.ProgId);
        return modAPI::printf(LoadText(kTextNotCreated, lang),
                              {system + " (" + Hex(check.Status) + ")"});
    }
    case ProviderState::Crashed:
        return modAPI::printf(LoadText(kTextCrashed, lang), {Hex(check.Status)});
    case ProviderState::TimedOut:
        return LoadText(kTextNoAnswer, lang);
    case ProviderState::EndedProcess:
        return LoadText(kTextEndedProcess, lang);
    case ProviderState::HostRefused:
        break;
    }
    return LoadText(kTextHostRefused, lang);
}

std::string ProviderFailureText(ILibraryApi& api, const std::vector<ProviderCheck>& checks,
                                Language lang) {
    std::string text;
    for (const ProviderCheck& check : checks) {
        if (!check.Essential || check.State == ProviderState::Works)
            continue;
        if (!text.empty())
            text += "\n";
        text += modAPI::printf(LoadText(kTextProviderFails, lang), {check.ProgId}) + " (" +
                ProviderReason(api, check, lang) + ")";
    }
    return text;
}
