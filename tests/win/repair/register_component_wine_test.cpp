// Registration of the fixture libraries through the real loader: a registering library, one that
// fails, one without the export, a file that is no library, and a missing file; by full and by
// short path; and the system's error texts.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixtures/layout.h"
#include "repair/dll_register.h"
#include "repair/library_api_win.h"

namespace {

std::wstring Wide(const std::string& s) {
    std::wstring w(s.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                      static_cast<int>(w.size()));
    w.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return w;
}

std::string TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    std::string folder;
    for (DWORD i = 0; i < n; ++i)
        folder += static_cast<char>(temp[i]); // the prefix's temp path is plain ASCII
    return folder + "quendry register test";
}

struct Case {
    const char* File;
    RegistrationResult Result;
    std::vector<uint32_t> LastErrors; // any of these (the system's choice among equals)
    int32_t Status;
    uint32_t Recorded; // DllRegisterServer calls the library recorded
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.File;
}

class RegisterFixture : public ::testing::TestWithParam<Case> {};

TEST_P(RegisterFixture, OutcomeAndRecordedCalls) {
    const Case& c = GetParam();
    fixtures::ClearRegistrations();
    const std::string path = fixtures::FixturesDirectory() + "\\" + c.File;
    Win32LibraryApi api;
    const RegistrationOutcome out = RegisterComponent(api, path, "DllRegisterServer", c.File);
    EXPECT_EQ(out.Result, c.Result);
    EXPECT_EQ(out.Status, c.Status);
    if (c.LastErrors.empty()) {
        EXPECT_EQ(out.LastError, 0u);
    } else {
        EXPECT_NE(std::find(c.LastErrors.begin(), c.LastErrors.end(), out.LastError),
                  c.LastErrors.end())
            << out.LastError;
        EXPECT_NE(GetErrorText(api, out.LastError), kErrorTextNotFound);
    }
    EXPECT_EQ(fixtures::ReadRegistrationCount(c.File), c.Recorded);
    // Loaded only for the registration.
    EXPECT_EQ(GetModuleHandleW(Wide(path).c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RegisterFixture,
    ::testing::Values(
        Case{"fixture_library.dll", RegistrationResult::Registered, {}, 0, 1},
        Case{"fixture_failing.dll",
             RegistrationResult::CallFailed,
             {},
             static_cast<int32_t>(0x80004005u),
             1},
        Case{"fixture_noexport.dll", RegistrationResult::NoEntryPoint, {kErrorProcNotFound}, 0, 0},
        Case{"notalib.dll",
             RegistrationResult::NotLoaded,
             {ERROR_BAD_EXE_FORMAT, ERROR_BAD_FORMAT},
             0,
             0},
        Case{"no-such-library.dll",
             RegistrationResult::NotLoaded,
             {kErrorModNotFound, ERROR_FILE_NOT_FOUND},
             0,
             0}));

TEST(RegisterComponentWin, ByShortPathOfAFolderWithSpaces) {
    const std::string path = TempFolder() + "\\Ole DB\\MSDASQL.DLL";
    fixtures::PlaceFixture(fixtures::FixtureKind::Library, fixtures::ParseVersion("2.81.1117.0"),
                           path);
    fixtures::ClearRegistrations();
    Win32LibraryApi api;
    std::string shortPath;
    const uint32_t n = api.ShortPathName(path, shortPath, 260);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, 260u);
    EXPECT_EQ(shortPath.find(' '), std::string::npos) << shortPath;
    const RegistrationOutcome out = RegisterComponent(api, shortPath, "DllRegisterServer", "X");
    EXPECT_EQ(out.Result, RegistrationResult::Registered);
    EXPECT_EQ(fixtures::ReadRegistrationCount("MSDASQL.DLL"), 1u);
    DeleteFileW(Wide(path).c_str());
}

TEST(RegisterComponentWin, ShortPathOfAMissingFileFailsWithFileNotFound) {
    Win32LibraryApi api;
    std::string shortPath = "unchanged";
    EXPECT_EQ(api.ShortPathName(TempFolder() + "\\no such file.dll", shortPath, 260), 0u);
    EXPECT_EQ(api.LastError(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(shortPath, "unchanged");
    EXPECT_EQ(api.ShortPathName("C:\\no such folder\\x.dll", shortPath, 260), 0u);
    const uint32_t error = api.LastError();
    EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
}

TEST(RegisterComponentWin, ShortPathThatDoesNotFitAsksForRoom) {
    const std::string path = fixtures::FixturesDirectory() + "\\fixture_library.dll";
    Win32LibraryApi api;
    std::string shortPath;
    const uint32_t needed = api.ShortPathName(path, shortPath, 4);
    EXPECT_GT(needed, 4u);
    EXPECT_TRUE(shortPath.empty());
}

TEST(GetErrorTextWin, SystemTextOrTheFallback) {
    Win32LibraryApi api;
    const std::string text = GetErrorText(api, ERROR_FILE_NOT_FOUND);
    EXPECT_NE(text, kErrorTextNotFound);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(GetErrorText(api, 0x2FFFFFFF), kErrorTextNotFound);
}

} // namespace
