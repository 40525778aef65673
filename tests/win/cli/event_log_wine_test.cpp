// The events' texts as Windows reads them: the message table compiled into quendry-cli.exe gives
// every event id in both languages, with the run's inserts in place. (Wine's event log keeps
// nothing, so what is written can't be read back; the adapter's call must still succeed.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "cli/event_log_win.h"
#include "text/win_text.h"

namespace {

std::wstring CliBesideTheTest() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/")) + L"\\quendry-cli.exe";
}

// FormatMessageW from the module, as Event Viewer formats an event.
std::wstring Message(HMODULE module, DWORD id, WORD language, const wchar_t* summary,
                     const wchar_t* details) {
    const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(summary),
                                 reinterpret_cast<DWORD_PTR>(details)};
    wchar_t text[4096] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                   module, id, MAKELANGID(language, SUBLANG_DEFAULT), text,
                                   static_cast<DWORD>(std::size(text)),
                                   reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts)));
    return std::wstring(text, n);
}

TEST(EventMessages, EveryIdInBothLanguagesWithTheInsertsInPlace) {
    HMODULE cli = LoadLibraryExW(CliBesideTheTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(cli, nullptr) << "no quendry-cli.exe beside the test";
    const wchar_t* summary = L"Needs attention: missing files: MSADOX.DLL";
    const wchar_t* details = L"missing files: MSADOX.DLL\nfiles that differ: \u00d6.DLL";
    for (DWORD id : {event_id::kAllWell, event_id::kNeedsAttention, event_id::kRepaired,
                     event_id::kRepairFailed, event_id::kCannotOpen}) {
        const std::wstring english = Message(cli, id, LANG_ENGLISH, summary, details);
        const std::wstring german = Message(cli, id, LANG_GERMAN, summary, details);
        for (const std::wstring& text : {english, german}) {
            EXPECT_EQ(text.rfind(L"Quendry: ", 0), 0u) << id << ": " << Narrow(text);
            // The message's own line end follows the inserts.
            const std::wstring inserts =
                std::wstring(L"\r\n\r\n") + summary + L"\r\n" + details + L"\r\n";
            ASSERT_GE(text.size(), inserts.size()) << id;
            EXPECT_EQ(text.substr(text.size() - inserts.size()), inserts) << id;
        }
        EXPECT_NE(english, german) << id;
    }
    EXPECT_NE(Message(cli, event_id::kAllWell, LANG_GERMAN, L"", L"").find(L"Ordnung"),
              std::wstring::npos);
    EXPECT_NE(Message(cli, event_id::kCannotOpen, LANG_GERMAN, L"", L"").find(L"\u00f6ffnen"),
              std::wstring::npos)
        << "the German letters survive the message compiler";
    FreeLibrary(cli);
}

TEST(EventMessages, TheAdapterWritesWhereTheSourceIsNotRegistered) {
    WinEventLog log;
    EXPECT_TRUE(log.Write({.Id = event_id::kAllWell,
                           .Level = EventLevel::Information,
                           .Inserts = {"Up to date: MDAC 2.81.1117.0, Jet 4.0.8015", ""}}));
}

} // namespace
