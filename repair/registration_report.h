#pragma once
// What the user is told after a repair in which libraries could not be registered: one line per
// library, its file name followed by the reason, all in the one message of text 141.
#include <string>
#include <vector>

#include "repair/dll_register.h"
#include "repair/provider_check.h"
#include "text/language.h"
#include "text/result_words.h"

// The reason a registration failed: for a well-known result its words with the code beside them
// ("... (126)", "... (0x80040154)"); otherwise the system's text for a failed load or a missing
// entry point (on one line, its insert "%1" filled with the file name), the status as 0xXXXXXXXX
// for a failed call or a call object that could not be made; for a registration whose host process
// failed, text 160 with the exception code ("crashed with 0xC0000005"), text 161 ("did not finish
// within 30 s") or text 162 ("ended the process"), for one that no host was started for, text 163,
// in `lang`. Empty for a registered library.
std::string RegistrationFailureReason(ILibraryApi& api, const RegistrationOutcome& outcome,
                                      Language lang = Language::English);

// "<file name>: <reason>".
std::string RegistrationFailureLine(ILibraryApi& api, const RegistrationOutcome& outcome,
                                    Language lang = Language::English);

// One line per failure: text 141 with its marker filled with the file name, followed by the reason
// in parentheses.
std::string RegistrationFailureText(ILibraryApi& api,
                                    const std::vector<RegistrationOutcome>& failures,
                                    Language lang);

// A system message text on one line: its trailing line break dropped, inner ones made spaces, the
// insert "%1" filled with `insert`.
std::string OneLine(const std::string& systemText, const std::string& insert);

// The state of a data provider's class in words: text 246 (works), 247 (no ProgID), 248 with the
// CLSID, 249 with the library, 250 with the system's text for the HRESULT and the HRESULT as
// 0xXXXXXXXX, 160 with the exception code, 251 (no answer), 162, 163.
std::string ProviderReason(ILibraryApi& api, const ProviderCheck& check, Language lang);

// One line per essential class that does not work: text 252 with the ProgID, followed by the
// reason in parentheses. Empty when every essential class works.
std::string ProviderFailureText(ILibraryApi& api, const std::vector<ProviderCheck>& checks,
                                Language lang);
