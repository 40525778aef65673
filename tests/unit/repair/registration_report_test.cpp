// The message naming the libraries that could not be registered, and why.
#include <gtest/gtest.h>

#include <cstdio>

#include "repair/registration_report.h"
#include "tests/fakes/fake_library_api.h"

namespace {

RegistrationOutcome Outcome(const std::string& name, RegistrationResult result,
                            uint32_t lastError = 0, int32_t status = 0) {
    RegistrationOutcome o;
    o.DisplayName = name;
    o.Result = result;
    o.LastError = lastError;
    o.Status = status;
    return o;
}

} // namespace

struct ReasonCase {
    const char* Name;
    RegistrationOutcome Outcome;
    std::string Reason;
};

void PrintTo(const ReasonCase& c, std::ostream* os) {
    *os << c.Name;
}

class FailureReason : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(FailureReason, SystemTextOrStatus) {
    FakeLibraryApi api;
    api.messages[1000] = "First line.\r\nSecond line.\r\n";
    EXPECT_EQ(RegistrationFailureReason(api, GetParam().Outcome), GetParam().Reason);
}

using R = RegistrationResult;
INSTANTIATE_TEST_SUITE_P(
    Reasons, FailureReason,
    ::testing::Values(
        ReasonCase{"MissingDependency", Outcome("A.DLL", R::NotLoaded, 126),
                   "library not found: the file or a library it needs is missing (126)"},
        ReasonCase{"NotALibrary", Outcome("A.DLL", R::NotLoaded, 193),
                   "A.DLL is not a valid Win32 application."},
        ReasonCase{"NoEntryPoint", Outcome("A.DLL", R::NoEntryPoint, 127),
                   "The specified procedure could not be found."},
        ReasonCase{"UnknownCode", Outcome("A.DLL", R::NotLoaded, 999),
                   "Error text not found. (999)"},
        ReasonCase{"MultiLineText", Outcome("A.DLL", R::NotLoaded, 1000),
                   "First line. Second line."},
        ReasonCase{"FailedCall",
                   Outcome("A.DLL", R::CallFailed, 0, static_cast<int32_t>(0x80004005u)),
                   "0x80004005"},
        ReasonCase{"SmallestStatus", Outcome("A.DLL", R::CallFailed, 0, INT32_MIN), "0x80000000"},
        ReasonCase{"NoCallObject",
                   Outcome("A.DLL", R::NotCreated, 0, static_cast<int32_t>(0x8007000Eu)),
                   "0x8007000E"},
        ReasonCase{"Crashed", Outcome("A.DLL", R::Crashed, 0, static_cast<int32_t>(0xC0000005u)),
                   "crashed with 0xC0000005"},
        ReasonCase{"StackOverflow",
                   Outcome("A.DLL", R::Crashed, 0, static_cast<int32_t>(0xC00000FDu)),
                   "crashed with 0xC00000FD"},
        ReasonCase{"TimedOut", Outcome("A.DLL", R::TimedOut), "did not finish within 30 s"},
        ReasonCase{"EndedProcess", Outcome("A.DLL", R::EndedProcess), "ended the process"},
        ReasonCase{"HostRefused", Outcome("A.DLL", R::HostRefused),
                   "not attempted: no safe registration host could be started"},
        ReasonCase{"Registered", Outcome("A.DLL", R::Registered), ""}),
    [](const auto& info) { return std::string(info.param.Name); });

// The well-known results have words of their own, taken before the system's text, with the code
// beside them: as the loader's error, as a registration's status, and for a data provider.
TEST(KnownResults, WordsOfTheirOwnBeforeTheSystemsText) {
    struct Known {
        uint32_t Win32;
        uint32_t Hresult;
        const char* English;
        const char* German;
    };
    const Known cases[] = {
        {.Win32 = 0,
         .Hresult = 0x80040111u,
         .English = "the library does not offer this class",
         .German = "die Bibliothek bietet diese Klasse nicht an"},
        {.Win32 = 0,
         .Hresult = 0x80040154u,
         .English = "the class is not registered",
         .German = "die Klasse ist nicht registriert"},
        {.Win32 = 1114,
         .Hresult = 0x8007045Au,
         .English = "error in the library: its start-up routine failed",
         .German = "Fehler in der Bibliothek: ihre Startroutine ist fehlgeschlagen"},
        {.Win32 = 126,
         .Hresult = 0x8007007Eu,
         .English = "library not found: the file or a library it needs is missing",
         .German = "Bibliothek nicht gefunden: die Datei oder eine Bibliothek, die sie braucht, "
                   "fehlt"},
        {.Win32 = 0,
         .Hresult = 0x80004002u,
         .English = "no such interface: the class does not offer what was asked of it",
         .German = "Schnittstelle nicht vorhanden: die Klasse bietet nicht an, was verlangt wurde"},
        {.Win32 = 5,
         .Hresult = 0x80070005u,
         .English = "access denied",
         .German = "Zugriff verweigert"},
    };
    FakeLibraryApi api;
    for (const Known& k : cases) {
        api.messages[k.Win32] = "System text\r\n";
        api.messages[k.Hresult] = "System text\r\n";
        char hex[16] = {};
        std::snprintf(hex, sizeof hex, "0x%08X", k.Hresult);
        const auto status = static_cast<int32_t>(k.Hresult);
        for (const auto& [lang, words] :
             {std::pair{Language::English, k.English}, std::pair{Language::German, k.German}}) {
            if (k.Win32 != 0) {
                EXPECT_EQ(
                    RegistrationFailureReason(api, Outcome("A.DLL", R::NotLoaded, k.Win32), lang),
                    std::string(words) + " (" + std::to_string(k.Win32) + ")");
            }
            EXPECT_EQ(
                RegistrationFailureReason(api, Outcome("A.DLL", R::CallFailed, 0, status), lang),
                std::string(words) + " (" + hex + ")");
            ProviderCheck check;
            check.State = ProviderState::NotCreated;
            check.Status = status;
            EXPECT_NE(ProviderReason(api, check, lang).find(std::string(words) + " (" + hex + ")"),
                      std::string::npos);
        }
    }
}

TEST(FailureText, OneLinePerLibraryInsideText141) {
    FakeLibraryApi api;
    const std::vector<RegistrationOutcome> failures = {
        Outcome("MSADCF.DLL", R::CallFailed, 0, static_cast<int32_t>(0x80004005u)),
        Outcome("MSDAPRST.DLL", R::NoEntryPoint, 127)};
    EXPECT_EQ(
        RegistrationFailureText(api, failures, Language::English),
        "The file MSADCF.DLL could not be registered properly. (0x80004005)\nThe file "
        "MSDAPRST.DLL could not be registered properly. (The specified procedure could not be "
        "found.)");
    EXPECT_EQ(RegistrationFailureText(api, failures, Language::German),
              "Die Datei MSADCF.DLL konnte nicht registriert werden. (0x80004005)\nDie Datei "
              "MSDAPRST.DLL konnte nicht registriert werden. (The specified procedure could not be "
              "found.)");
}

TEST(FailureText, BracketsInANameAreNotReadAsPlaceholders) {
    FakeLibraryApi api;
    const std::string text = RegistrationFailureText(
        api, {Outcome("[*]\\n.DLL", R::CallFailed, 0, -1)}, Language::English);
    EXPECT_NE(text.find("The file [*]\\n.DLL could not be registered properly. (0xFFFFFFFF)"),
              std::string::npos)
        << text;
}

TEST(FailureText, HostFailuresInBothLanguages) {
    FakeLibraryApi api;
    const std::vector<RegistrationOutcome> failures = {
        Outcome("CRASH.DLL", R::Crashed, 0, static_cast<int32_t>(0xC0000005u)),
        Outcome("HANG.DLL", R::TimedOut), Outcome("EXIT.DLL", R::EndedProcess)};
    EXPECT_EQ(RegistrationFailureText(api, failures, Language::English),
              "The file CRASH.DLL could not be registered properly. (crashed with 0xC0000005)\n"
              "The file HANG.DLL could not be registered properly. (did not finish within 30 s)\n"
              "The file EXIT.DLL could not be registered properly. (ended the process)");
    EXPECT_EQ(RegistrationFailureText(api, failures, Language::German),
              "Die Datei CRASH.DLL konnte nicht registriert werden. (abgest\xC3\xBC"
              "rzt mit 0xC0000005)\n"
              "Die Datei HANG.DLL konnte nicht registriert werden. (nicht innerhalb von 30 s "
              "abgeschlossen)\n"
              "Die Datei EXIT.DLL konnte nicht registriert werden. (hat den Prozess beendet)");
    EXPECT_EQ(RegistrationFailureLine(api, failures[0]), "CRASH.DLL: crashed with 0xC0000005");
}
