// File versions and the component table against the real version functions, on fixture
// libraries laid out in the prefix.
#include "fixtures/layout.h"
#include "repair/component_table.h"
#include "repair/file_version.h"
#include "repair/version_api_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

std::string ScratchFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH, temp);
    std::string folder;
    for (DWORD i = 0; i < n; ++i) {
        folder += static_cast<char>(temp[i]); // the prefix's temp path is plain ASCII
    }
    return folder + "quendry-repair-test";
}

struct VersionCase {
    const char* source; // a built fixture, or empty for a stamped copy of `stamped`
    const char* stamped;
    const char* dotted;
    const char* buildOnly;
};

class FileVersionOnFixtures : public ::testing::TestWithParam<VersionCase> {};

TEST_P(FileVersionOnFixtures, DottedAndBuildOnly) {
    const VersionCase& c = GetParam();
    std::string path;
    if (*c.source) {
        path = fixtures::FixturesDirectory() + "\\" + c.source;
    } else {
        path = ScratchFolder() + "\\" + c.stamped + ".dll";
        fixtures::PlaceFixture(fixtures::FixtureKind::Library, fixtures::ParseVersion(c.stamped),
                               path);
    }
    Win32VersionApi api;
    FixedFileInfo block{};
    ASSERT_TRUE(ReadFileVersion(api, path, block)) << path;
    EXPECT_EQ(block.dwSignature, kFixedFileInfoSignature);
    EXPECT_EQ(GetFileVersionText(api, path, false, Language::English), c.dotted);
    EXPECT_EQ(GetFileVersionText(api, path, true, Language::English), c.buildOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FileVersionOnFixtures,
    ::testing::Values(VersionCase{"fixture_library.dll", "", "2.81.1117", "1117"},
                      VersionCase{"fixture_failing.dll", "", "2.81.1117", "1117"},
                      VersionCase{"fixture_noexport.dll", "", "2.81.1117", "1117"},
                      VersionCase{"fixture_v40000.dll", "", "40000.65535.40000", "7"},
                      VersionCase{"", "4.0.8015.0", "4.0.8015", "8015"},
                      VersionCase{"", "4.0.2927.4", "4.0.2927", "4"},
                      VersionCase{"", "40000.1.40000.0", "40000.1.40000", "40000"},
                      VersionCase{"", "4.0.8618.40000", "4.0.8618", "40000"},
                      VersionCase{"", "65535.65535.65535.65535", "65535.65535.65535", "65535"}));

class NoVersionOnDisk : public ::testing::TestWithParam<const char*> {};

TEST_P(NoVersionOnDisk, IsNotAvailable) {
    std::string path = GetParam();
    if (path.rfind("fixtures:", 0) == 0) {
        path = fixtures::FixturesDirectory() + "\\" + path.substr(9);
    }
    Win32VersionApi api;
    FixedFileInfo block{};
    block.dwFileVersionMS = 0x12345678;
    EXPECT_FALSE(ReadFileVersion(api, path, block));
    EXPECT_EQ(block.dwFileVersionMS, 0x12345678u);
    EXPECT_EQ(GetFileVersionText(api, path, false, Language::English), "Not available");
    EXPECT_EQ(GetFileVersionText(api, path, true, Language::English), "Not available");
    EXPECT_EQ(GetFileVersionText(api, path, false, Language::German), "Nicht vorhanden");
}

INSTANTIATE_TEST_SUITE_P(Files, NoVersionOnDisk,
                         ::testing::Values("fixtures:notalib.dll", "fixtures:no-such-file.dll",
                                           "C:\\no\\such\\folder\\msjet40.dll", "", "fixtures:"));

class ComponentTableOnPrefix : public ::testing::Test {
protected:
    static void TearDownTestSuite() { fixtures::ApplyLayout(fixtures::WineFresh()); }

    static ComponentTable Build() {
        Win32VersionApi api;
        return BuildComponentTable(api, fixtures::CommonFilesFolder(), fixtures::SystemDirectory(),
                                   Language::English);
    }
};

TEST_F(ComponentTableOnPrefix, AllPresent) {
    fixtures::ApplyLayout(fixtures::AllAt("2.81.1117.0", "4.0.8015.0"));
    ComponentTable table = Build();
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(table[i].sPath, fixtures::ComponentPath(i));
        EXPECT_EQ(table[i].sFileName, GetFile(fixtures::ComponentPath(i)));
        EXPECT_EQ(table[i].sVersion, i < 28 ? "2.81.1117" : "4.0.8015");
        EXPECT_EQ(table[i].iBuild, i < 28 ? 1117 : 8015);
    }
}

TEST_F(ComponentTableOnPrefix, NonePresent) {
    fixtures::ApplyLayout(fixtures::NonePresent());
    ComponentTable table = Build();
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_EQ(table[i].sFileName, GetFile(fixtures::ComponentPath(i)));
        EXPECT_EQ(table[i].sPath, "Not available");
        EXPECT_EQ(table[i].sVersion, "N/A");
    }
}

TEST_F(ComponentTableOnPrefix, SomeEntriesChanged) {
    using fixtures::FixtureFile;
    fixtures::ApplyLayout(fixtures::AllAt("2.81.1117.0", "4.0.8015.0")
                              .With(5, FixtureFile::Absent())
                              .With(17, FixtureFile::TextFile())
                              .With(22, FixtureFile::NoExport("2.80.1022.0"))
                              .With(25, FixtureFile::Failing("2.70.9001.0"))
                              .With(29, "4.0.2927.4"));
    ComponentTable table = Build();
    EXPECT_EQ(table[4].sVersion, "2.81.1117");
    EXPECT_EQ(table[5].sVersion, "N/A");
    EXPECT_EQ(table[5].sPath, "Not available");
    EXPECT_EQ(table[17].sVersion, "N/A");
    EXPECT_EQ(table[22].sVersion, "2.80.1022");
    EXPECT_EQ(table[25].sVersion, "2.70.9001");
    EXPECT_EQ(table[29].sVersion, "4.0.2927");
    EXPECT_EQ(table[29].sPath, fixtures::ComponentPath(29));
}

// A fresh prefix: Wine's own oledb32 carries 2.81.1117.0, its msado15, msdasql and msdaps carry
// no version resource. Replacing them and asking for them back gives the same table.
TEST_F(ComponentTableOnPrefix, WineBuiltinFilesPresentThenAbsent) {
    fixtures::ApplyLayout(fixtures::AllAt("9.9.9.9", "9.9.9.9"));
    ComponentTable table = Build();
    for (size_t i : {0u, 17u, 22u, 25u}) {
        EXPECT_EQ(table[i].sVersion, "9.9.9") << "our file stands in for Wine's, entry " << i;
    }

    fixtures::ApplyLayout(fixtures::WineFresh());
    table = Build();
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        if (i == 17) {
            EXPECT_EQ(table[i].sVersion, "2.81.1117");
            EXPECT_EQ(table[i].sPath, fixtures::ComponentPath(i));
        } else {
            EXPECT_EQ(table[i].sVersion, "N/A");
        }
    }
    for (size_t i : {0u, 17u, 22u, 25u}) {
        EXPECT_NE(GetFileAttributesA(fixtures::ComponentPath(i).c_str()), INVALID_FILE_ATTRIBUTES)
            << "Wine's file " << i << " is back";
    }

    fixtures::ApplyLayout(fixtures::NonePresent());
    table = Build();
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].sVersion, "N/A") << "entry " << i;
        EXPECT_EQ(GetFileAttributesA(fixtures::ComponentPath(i).c_str()), INVALID_FILE_ATTRIBUTES)
            << "entry " << i;
    }
}

// What the fixture libraries do when registered, as the repair step will call them.
struct RegistrationCase {
    size_t index;
    fixtures::FixtureFile file;
    bool shortPath; // loaded by its 8.3 name, as the repair step does
    bool hasExport;
    int32_t status;
};

class FixtureRegistration : public ::testing::TestWithParam<RegistrationCase> {};

TEST_P(FixtureRegistration, RecordsEachCallUnderItsOwnName) {
    const RegistrationCase& c = GetParam();
    fixtures::ApplyLayout(fixtures::NonePresent().With(c.index, c.file));
    std::string path = fixtures::ComponentPath(c.index);
    std::string name = GetFile(path);
    if (c.shortPath) {
        char shortPath[MAX_PATH] = {};
        DWORD n = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
        ASSERT_GT(n, 0u);
        path.assign(shortPath, n);
    }
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr) << path;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    EXPECT_EQ(entry != nullptr, c.hasExport);
    if (entry != nullptr) {
        EXPECT_EQ(entry(), c.status);
        EXPECT_EQ(entry(), c.status);
    }
    FreeLibrary(module);
    uint32_t expected = c.hasExport ? 2 : 0;
    EXPECT_EQ(fixtures::ReadRegistrationCount(name), expected);
    for (char& ch : name) {
        ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    }
    EXPECT_EQ(fixtures::ReadRegistrationCount(name), expected);

    fixtures::ApplyLayout(fixtures::NonePresent());
    EXPECT_EQ(fixtures::ReadRegistrationCount(name), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FixtureRegistration,
    ::testing::Values(
        RegistrationCase{4, fixtures::FixtureFile::Library("2.81.1117.0"), false, true, 0},
        RegistrationCase{9, fixtures::FixtureFile::Failing("2.81.1117.0"), false, true,
                         static_cast<int32_t>(0x80004005)},
        RegistrationCase{11, fixtures::FixtureFile::NoExport("2.81.1117.0"), false, false, 0},
        RegistrationCase{30, fixtures::FixtureFile::Library("4.0.8015.0"), true, true, 0},
        RegistrationCase{18, fixtures::FixtureFile::Library("2.81.1117.0"), true, true, 0}));

TEST(SystemLayout, FullInstallVerSetAndRemoved) {
    auto read = []() -> std::string {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\DataAccess", 0, KEY_READ,
                          &key) != ERROR_SUCCESS) {
            return "<none>";
        }
        wchar_t value[64] = {};
        DWORD size = sizeof value - sizeof(wchar_t), type = 0;
        LONG rc = RegQueryValueExW(key, L"FullInstallVer", nullptr, &type,
                                   reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        if (rc != ERROR_SUCCESS || type != REG_SZ) {
            return "<none>";
        }
        std::string text;
        for (wchar_t* p = value; *p; ++p) {
            text += static_cast<char>(*p);
        }
        return text;
    };
    fixtures::ApplyLayout(fixtures::NonePresent().WithFullInstallVer("2.81.1117.0"));
    EXPECT_EQ(read(), "2.81.1117.0");
    fixtures::ApplyLayout(fixtures::NonePresent());
    EXPECT_EQ(read(), "<none>");
    HKEY key = nullptr;
    EXPECT_NE(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\DataAccess", 0, KEY_READ, &key),
        ERROR_SUCCESS);
}

TEST(SystemLayout, RejectsWhatItCannotLayOut) {
    EXPECT_THROW(fixtures::ParseVersion("2.81"), std::invalid_argument);
    EXPECT_THROW(fixtures::ParseVersion("2.81.65536.0"), std::invalid_argument);
    EXPECT_THROW(fixtures::ParseVersion("2.81.1117.0.1"), std::invalid_argument);
    EXPECT_THROW(fixtures::ParseVersion("2.x.1117"), std::invalid_argument);
    EXPECT_THROW(fixtures::NonePresent().With(31, "1.0.0.0"), std::out_of_range);
    EXPECT_EQ(fixtures::ParseVersion("2.81.1117"), (fixtures::FileVersion{2, 81, 1117, 0}));
}

} // namespace
