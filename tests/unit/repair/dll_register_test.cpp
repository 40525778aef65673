// Registration of one library over fake libraries: what is loaded, looked up, called and freed,
// in which order, and what the caller is told.
#include <gtest/gtest.h>

#include "repair/dll_register.h"
#include "tests/fakes/fake_library_api.h"

namespace {

using Kind = FakeLibraryApi::Kind;
using Log = std::vector<std::string>;

const std::string kLib = "C:\\Common\\System\\ado\\MSADO15.DLL";
const std::string kBlock = "Alloc(" + std::to_string(3 * sizeof(void*)) + ")";

} // namespace

struct Case {
    const char* Name;
    std::function<void(FakeLibraryApi&)> Setup;
    std::string Path;
    RegistrationResult Result;
    uint32_t LastError;
    int32_t Status;
    Log Calls;
    int EntryCalls;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.Name;
}

class RegisterComponentCases : public ::testing::TestWithParam<Case> {};

TEST_P(RegisterComponentCases, LoadsCallsAndFreesInOrder) {
    const Case& c = GetParam();
    FakeLibraryApi api;
    if (c.Setup)
        c.Setup(api);
    const RegistrationOutcome out = RegisterComponent(api, c.Path, "DllRegisterServer", "NAME.DLL");
    EXPECT_EQ(out.DisplayName, "NAME.DLL");
    EXPECT_EQ(out.Result, c.Result);
    EXPECT_EQ(out.LastError, c.LastError);
    EXPECT_EQ(out.Status, c.Status);
    EXPECT_EQ(api.Log, c.Calls);
    EXPECT_EQ(api.Calls(kLib), c.EntryCalls);
    // Nothing stays behind: the library unloaded, the call object freed exactly once.
    for (const auto& [path, file] : api.files)
        EXPECT_EQ(file.loaded, 0) << path;
    EXPECT_EQ(api.LiveBlocks(), 0u);
    EXPECT_EQ(api.badFrees, 0);
    EXPECT_EQ(api.allocs, api.frees);
    EXPECT_EQ(api.callsWhileUnloaded, 0);
}

const Log kCalled = {"Load(" + kLib + ")", "Find(DllRegisterServer)", kBlock, "Call(" + kLib + ")",
                     "FreeBlock",          "Free(" + kLib + ")"};

INSTANTIATE_TEST_SUITE_P(
    Libraries, RegisterComponentCases,
    ::testing::Values(
        Case{"Registering", [](FakeLibraryApi& a) { a.Add(kLib, Kind::Registering, 0); }, kLib,
             RegistrationResult::Registered, 0, 0, kCalled, 1},
        Case{"PositiveStatus", [](FakeLibraryApi& a) { a.Add(kLib, Kind::Registering, 1); }, kLib,
             RegistrationResult::Registered, 0, 1, kCalled, 1},
        Case{"FailingStatus",
             [](FakeLibraryApi& a) {
                 a.Add(kLib, Kind::Registering, static_cast<int32_t>(0x80004005u));
             },
             kLib, RegistrationResult::CallFailed, 0, static_cast<int32_t>(0x80004005u), kCalled,
             1},
        Case{"NoExport", [](FakeLibraryApi& a) { a.Add(kLib, Kind::NoExport); }, kLib,
             RegistrationResult::NoEntryPoint, kErrorProcNotFound, 0,
             Log{"Load(" + kLib + ")", "Find(DllRegisterServer)", "Free(" + kLib + ")"}, 0},
        Case{"MissingFile", nullptr, kLib, RegistrationResult::NotLoaded, kErrorModNotFound, 0,
             Log{"Load(" + kLib + ")"}, 0},
        Case{"NotALibrary", [](FakeLibraryApi& a) { a.Add(kLib, Kind::NotALibrary); }, kLib,
             RegistrationResult::NotLoaded, 193, 0, Log{"Load(" + kLib + ")"}, 0},
        Case{"NoMemoryForTheCallObject",
             [](FakeLibraryApi& a) {
                 a.Add(kLib, Kind::Registering);
                 a.failAlloc = true;
             },
             kLib, RegistrationResult::NotCreated, 0, static_cast<int32_t>(0x8007000Eu),
             Log{"Load(" + kLib + ")", "Find(DllRegisterServer)", kBlock, "Free(" + kLib + ")"}, 0},
        // Never handed to the loader: the system would search for such a name.
        Case{"EmptyPath", nullptr, "", RegistrationResult::NotLoaded, kErrorInvalidParameter, 0,
             Log{}, 0},
        Case{"BareName", [](FakeLibraryApi& a) { a.Add("MSADO15.DLL", Kind::Registering); },
             "MSADO15.DLL", RegistrationResult::NotLoaded, kErrorInvalidParameter, 0, Log{}, 0},
        Case{"NotAvailableText", nullptr, "Not available", RegistrationResult::NotLoaded,
             kErrorInvalidParameter, 0, Log{}, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(RegisterComponent, TheLibraryIsLoadedWhileItsEntryPointRuns) {
    FakeLibraryApi api;
    api.Add(kLib, Kind::Registering);
    int loadedDuringCall = -1;
    api.duringCall = [&](const std::string& path) { loadedDuringCall = api.files[path].loaded; };
    RegisterComponent(api, kLib, "DllRegisterServer", "MSADO15.DLL");
    EXPECT_EQ(loadedDuringCall, 1);
}

TEST(RegisterComponent, OtherEntryNameIsLookedUpAndNotFound) {
    FakeLibraryApi api;
    api.Add(kLib, Kind::Registering);
    const RegistrationOutcome out = RegisterComponent(api, kLib, "DllUnregisterServer", "X");
    EXPECT_EQ(out.Result, RegistrationResult::NoEntryPoint);
    EXPECT_EQ(api.Calls(kLib), 0);
}

struct PathCase {
    const char* Path;
    bool Qualified;
};

class FullyQualified : public ::testing::TestWithParam<PathCase> {};

TEST_P(FullyQualified, OnlyDriveOrServerRootedPaths) {
    EXPECT_EQ(IsFullyQualifiedPath(GetParam().Path), GetParam().Qualified) << GetParam().Path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FullyQualified,
    ::testing::Values(PathCase{"C:\\PROGRA~1\\COMMON~1\\System\\ado\\MSADO15.DLL", true},
                      PathCase{"c:/x.dll", true}, PathCase{"\\\\server\\share\\x.dll", true},
                      PathCase{"", false}, PathCase{"C:", false}, PathCase{"C:x.dll", false},
                      PathCase{"x.dll", false}, PathCase{"\\x.dll", false},
                      PathCase{"\\\\\\x.dll", false}, PathCase{"..\\x.dll", false},
                      PathCase{"1:\\x.dll", false}, PathCase{"Nicht vorhanden", false}));

TEST(GetErrorText, SystemTextAsWrittenOrTheFallback) {
    FakeLibraryApi api;
    EXPECT_EQ(GetErrorText(api, 126), "The specified module could not be found.\r\n");
    EXPECT_EQ(GetErrorText(api, 0xDEADBEEF), "Error text not found.");
    api.messages[5] = std::string(400, 'x'); // a long text comes whole
    EXPECT_EQ(GetErrorText(api, 5).size(), 400u);
}
