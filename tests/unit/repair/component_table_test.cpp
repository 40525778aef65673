#include "repair/component_table.h"
#include "tests/fakes/fake_version_api.h"

#include <gtest/gtest.h>

namespace {

const std::string kCommon = "C:\\Program Files\\Common Files";
const std::string kSystem = "C:\\WINDOWS\\system32";

struct Expected {
    std::string path;
    const char* name;
    bool noRegister;
    bool notListed;
};

const std::vector<Expected>& ExpectedRows() {
    static const std::vector<Expected> rows = {
        {kCommon + "\\System\\ado\\MSADO15.DLL", "MSADO15.DLL", false, false},
        {kCommon + "\\System\\ado\\MSADER15.DLL", "MSADER15.DLL", true, false},
        {kCommon + "\\System\\ado\\MSADOR15.DLL", "MSADOR15.DLL", false, false},
        {kCommon + "\\System\\ado\\MSADRH15.DLL", "MSADRH15.DLL", false, false},
        {kCommon + "\\System\\ado\\MSADOX.DLL", "MSADOX.DLL", false, false},
        {kCommon + "\\System\\ado\\MSADOMD.dll", "MSADOMD.dll", false, false},
        {kCommon + "\\System\\ado\\MSJRO.DLL", "MSJRO.DLL", false, false},
        {kCommon + "\\System\\MSADC\\MSADCE.DLL", "MSADCE.DLL", false, false},
        {kCommon + "\\System\\MSADC\\MSADCER.DLL", "MSADCER.DLL", true, false},
        {kCommon + "\\System\\MSADC\\MSADCF.DLL", "MSADCF.DLL", false, false},
        {kCommon + "\\System\\MSADC\\MSADCFR.DLL", "MSADCFR.DLL", true, false},
        {kCommon + "\\System\\MSADC\\MSADCO.DLL", "MSADCO.DLL", false, false},
        {kCommon + "\\System\\MSADC\\MSADCOR.DLL", "MSADCOR.DLL", true, false},
        {kCommon + "\\System\\MSADC\\MSADCS.DLL", "MSADCS.DLL", true, false},
        {kCommon + "\\System\\MSADC\\MSADDS.DLL", "MSADDS.DLL", false, false},
        {kCommon + "\\System\\MSADC\\MSADDSR.DLL", "MSADDSR.DLL", true, false},
        {kCommon + "\\System\\MSADC\\MSDAPRST.DLL", "MSDAPRST.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\OLEDB32.DLL", "OLEDB32.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSXACTPS.DLL", "MSXACTPS.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDAENUM.DLL", "MSDAENUM.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDAURL.DLL", "MSDAURL.DLL", false, true},
        {kCommon + "\\System\\Ole DB\\MSDATT.DLL", "MSDATT.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDASQL.DLL", "MSDASQL.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDAOSP.DLL", "MSDAOSP.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDAORA.DLL", "MSDAORA.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDAPS.DLL", "MSDAPS.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDADC.DLL", "MSDADC.DLL", false, false},
        {kCommon + "\\System\\Ole DB\\MSDAER.DLL", "MSDAER.DLL", true, false},
        {kSystem + "\\msjet40.dll", "msjet40.dll", false, true},
        {kSystem + "\\msjtes40.dll", "msjtes40.dll", false, true},
        {kSystem + "\\msjetoledb40.dll", "msjetoledb40.dll", false, true},
    };
    return rows;
}

// Every library present, each with its own build number so that a row read from the wrong file
// shows.
FakeVersionApi AllPresent() {
    FakeVersionApi api;
    for (size_t i = 0; i < ExpectedRows().size(); ++i) {
        api.Add(ExpectedRows()[i].path, 2, 81, static_cast<uint16_t>(1000 + i), 7);
    }
    return api;
}

TEST(ComponentTable, AllPresentGivesPathsVersionsAndFlags) {
    FakeVersionApi api = AllPresent();
    ComponentTable table = BuildComponentTable(api, kCommon, kSystem, Language::English);
    ASSERT_EQ(ExpectedRows().size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const Expected& e = ExpectedRows()[i];
        EXPECT_EQ(table[i].sFileName, e.name);
        EXPECT_EQ(table[i].sPath, e.path);
        EXPECT_EQ(table[i].sVersion, "2.81." + std::to_string(1000 + i));
        EXPECT_EQ(table[i].iMajor, 2);
        EXPECT_EQ(table[i].iMinor, 81);
        EXPECT_EQ(table[i].iBuild, 1000 + i);
        EXPECT_EQ(table[i].bNoRegister, e.noRegister);
        EXPECT_EQ(table[i].bNotListed, e.notListed);
    }
    EXPECT_EQ(api.sizeQueries.size(), 31u);
}

TEST(ComponentTable, TwentyFourRegisteredTwentySevenListed) {
    FakeVersionApi api;
    ComponentTable table = BuildComponentTable(api, kCommon, kSystem, Language::English);
    int registered = 0, listed = 0;
    for (const ComponentFile& f : table) {
        registered += !f.bNoRegister;
        listed += !f.bNotListed;
    }
    EXPECT_EQ(registered, 24);
    EXPECT_EQ(listed, 27);
}

struct LanguageCase {
    Language lang;
    const char* notAvailable;
};

class MissingLibrariesTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(MissingLibrariesTest, KeepNameAndFlagsWithFailureValues) {
    FakeVersionApi api;
    ComponentTable table = BuildComponentTable(api, kCommon, kSystem, GetParam().lang);
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const Expected& e = ExpectedRows()[i];
        EXPECT_EQ(table[i].sFileName, e.name);
        EXPECT_EQ(table[i].sPath, GetParam().notAvailable);
        EXPECT_EQ(table[i].sVersion, "N/A");
        EXPECT_EQ(table[i].iMajor + table[i].iMinor + table[i].iBuild, 0);
        EXPECT_EQ(table[i].bNoRegister, e.noRegister);
        EXPECT_EQ(table[i].bNotListed, e.notListed);
        EXPECT_EQ(api.sizeQueries[i], e.path);
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, MissingLibrariesTest,
                         ::testing::Values(LanguageCase{Language::English, "Not available"},
                                           LanguageCase{Language::German, "Nicht vorhanden"}));

TEST(ComponentTable, SecondBuildReplacesTheFirstWhole) {
    FakeVersionApi api = AllPresent();
    ComponentTable first = BuildComponentTable(api, kCommon, kSystem, Language::English);

    // Between the builds one library goes, one loses its version block, one changes version.
    api.files.erase(ExpectedRows()[0].path);
    api.files[ExpectedRows()[17].path].Fixed().dwSignature = 0;
    api.Add(ExpectedRows()[28].path, 4, 0, 8015, 0);
    ComponentTable second = BuildComponentTable(api, kCommon, kSystem, Language::English);

    EXPECT_EQ(second[0].sPath, "Not available");
    EXPECT_EQ(second[0].sVersion, "N/A");
    EXPECT_EQ(second[0].iBuild, 0);
    EXPECT_EQ(second[17].sVersion, "N/A");
    EXPECT_EQ(second[28].sVersion, "4.0.8015");
    for (size_t i : {1u, 16u, 27u, 30u}) {
        EXPECT_EQ(second[i].sVersion, first[i].sVersion);
        EXPECT_EQ(second[i].sPath, first[i].sPath);
    }
    ComponentTable third = BuildComponentTable(api, kCommon, kSystem, Language::English);
    for (size_t i = 0; i < third.size(); ++i) {
        EXPECT_EQ(third[i].sPath, second[i].sPath);
        EXPECT_EQ(third[i].sVersion, second[i].sVersion);
    }
}

TEST(ComponentTable, EmptyFoldersStillGiveThirtyOneEntries) {
    FakeVersionApi api;
    api.Add("\\System\\ado\\MSADO15.DLL", 2, 81, 1117, 0);
    ComponentTable table = BuildComponentTable(api, "", "", Language::English);
    EXPECT_EQ(api.sizeQueries.front(), "\\System\\ado\\MSADO15.DLL");
    EXPECT_EQ(api.sizeQueries.back(), "\\msjetoledb40.dll");
    EXPECT_EQ(table[0].sPath, "\\System\\ado\\MSADO15.DLL");
    EXPECT_EQ(table[0].sVersion, "2.81.1117");
    EXPECT_EQ(table[30].sFileName, "msjetoledb40.dll");
}

TEST(ComponentFile, LargePartsStayUnsigned) {
    FakeVersionApi api;
    api.Add("C:\\x\\A.DLL", 40000, 65535, 40000, 3);
    ComponentFile f = BuildComponentFile(api, "C:\\x\\A.DLL", Language::English);
    EXPECT_EQ(f.sVersion, "40000.65535.40000");
    EXPECT_EQ(f.iMajor, 40000);
    EXPECT_EQ(f.iMinor, 65535);
    EXPECT_EQ(f.iBuild, 40000);
    EXPECT_FALSE(f.bNoRegister);
    EXPECT_FALSE(f.bNotListed);
}

struct FileNameCase {
    const char* path;
    const char* name;
};

class GetFileTest : public ::testing::TestWithParam<FileNameCase> {};

TEST_P(GetFileTest, TextAfterLastBackslash) {
    EXPECT_EQ(GetFile(GetParam().path), GetParam().name);
    EXPECT_EQ(GetFile03(GetParam().path), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, GetFileTest,
    ::testing::Values(FileNameCase{"C:\\Program Files\\Common Files\\System\\ado\\MSADO15.DLL",
                                   "MSADO15.DLL"},
                      FileNameCase{"MSADO15.DLL", "MSADO15.DLL"}, FileNameCase{"C:\\dir\\", ""},
                      FileNameCase{"", ""}, FileNameCase{"\\msjet40.dll", "msjet40.dll"},
                      FileNameCase{"C:/dir/a.dll", "C:/dir/a.dll"},
                      FileNameCase{"Not available", "Not available"}));

} // namespace
