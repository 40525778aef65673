// The console companion's process adapter against the real platform: the report file's bytes,
// output to a pipe and to a console, and the elevation check.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "cli/cli_host_win.h"
#include "text/win_text.h"

namespace {

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH, buffer);
    std::wstring folder(buffer, n);
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

std::string ReadBytes(HANDLE handle) {
    std::string bytes;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(handle, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    return bytes;
}

std::string FileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes = ReadBytes(file);
    CloseHandle(file);
    return bytes;
}

TEST(CliHost, ReportFileHoldsExactlyTheBytesAndReplacesAnOlderOne) {
    WinCliHost host;
    const std::wstring path = TempFolder() + L"\\quendry cli \u00e4.txt";
    const std::string first = "\xEF\xBB\xBF"
                              "Gr\xC3\xBC\xC3\x9F"
                              "e\r\nline\r\n" +
                              std::string(70000, 'x');
    ASSERT_TRUE(host.WriteFileBytes(Narrow(path), first));
    EXPECT_EQ(FileBytes(path), first);
    ASSERT_TRUE(host.WriteFileBytes(Narrow(path), "short\n"));
    EXPECT_EQ(FileBytes(path), "short\n") << "the older, longer content is gone";
    DeleteFileW(path.c_str());
}

TEST(CliHost, ReportFileThatCannotBeWrittenFails) {
    WinCliHost host;
    EXPECT_FALSE(host.WriteFileBytes(Narrow(TempFolder()) + "\\no-such-folder\\r.txt", "x"));
    EXPECT_FALSE(host.WriteFileBytes(Narrow(TempFolder()), "x")) << "a folder is no file";
    EXPECT_FALSE(host.WriteFileBytes("", "x"));
}

TEST(CliHost, PipeGetsUtf8WithWindowsLineEnds) {
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 1 << 16));
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, write);
    WinCliHost host;
    host.WriteOut("a\n\xC3\xA4\xE2\x82\xAC\n");
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    CloseHandle(write);
    EXPECT_EQ(ReadBytes(read), "a\r\n\xC3\xA4\xE2\x82\xAC\r\n");
    CloseHandle(read);
}

TEST(CliHost, ConsoleGetsTheCharactersThemselves) {
    FreeConsole();
    if (!AllocConsole())
        GTEST_SKIP() << "no console can be made here";
    HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(console, INVALID_HANDLE_VALUE);
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode)) {
        CloseHandle(console);
        FreeConsole();
        GTEST_SKIP() << "this console does not report a mode";
    }
    COORD home = {0, 0};
    SetConsoleCursorPosition(console, home);
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, console);
    WinCliHost host;
    host.WriteOut("Gr\xC3\xBC\xC3\x9F"
                  "e \xE2\x82\xAC\nZeile");
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    wchar_t first[8] = {}, second[8] = {};
    DWORD n = 0;
    ASSERT_TRUE(ReadConsoleOutputCharacterW(console, first, 7, COORD{0, 0}, &n));
    ASSERT_TRUE(ReadConsoleOutputCharacterW(console, second, 5, COORD{0, 1}, &n));
    EXPECT_EQ(std::wstring(first, 7), L"Gr\u00fc\u00dfe \u20ac")
        << "UTF-16, whatever the code page";
    EXPECT_EQ(std::wstring(second, 5), L"Zeile");
    CloseHandle(console);
    FreeConsole();
}

TEST(CliHost, ElevationComesFromTheToken) {
    WinCliHost host;
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD elevated = 0, size = 0;
    const BOOL known = GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(20),
                                           &elevated, sizeof elevated, &size);
    CloseHandle(token);
    const bool answer = host.IsElevated();
    if (known) {
        EXPECT_EQ(LastElevationSource(), ElevationSource::TokenElevation);
        EXPECT_EQ(answer, elevated != 0);
    } else {
        EXPECT_EQ(LastElevationSource(), ElevationSource::AdministratorsGroup);
    }
    // What systems before Vista answer: Wine's user is an administrator, as TokenElevation says.
    EXPECT_EQ(InAdministratorsGroup(), std::optional<bool>(true));
}

} // namespace
