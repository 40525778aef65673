// The check of a data provider's class, step by step as the data access layer looks it up, over a
// scripted registry and scripted object creation: where the lookup stops, the state says why.
#include "repair/provider_check.h"

#include <gtest/gtest.h>

#include <set>

#include "repair/registration_report.h"
#include "tests/fakes/fake_library_api.h"
#include "tests/fakes/fake_registry.h"

namespace {

constexpr ProviderClass kJet{.ProgId = "Microsoft.Jet.OLEDB.4.0",
                             .Clsid = "{DEE35070-506B-11CF-B1AA-00AA00B8DE95}",
                             .Essential = true};
constexpr const char* kRegistered = "{DEE35070-506B-11CF-B1AA-00AA00B8DE95}";
constexpr const char* kLibrary = "C:\\WINDOWS\\system32\\msjetoledb40.dll";

class ScriptedCom : public IComApi {
public:
    std::set<std::string> Files;
    int32_t Result = 0;
    std::vector<std::string> Created;
    bool FileExists(const std::string& path) override { return Files.count(path) == 1; }
    int32_t CreateInProcess(const std::string& clsid) override {
        Created.push_back(clsid);
        return Result;
    }
};

enum class Stop { NoProgId, NoClass, NoFile, Refused, Created };

struct StateCase {
    const char* Name;
    Stop Where;
    ProviderState State;
    const char* Reason;
};

class ProviderCheckStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(ProviderCheckStates, TheLookupStopsWhereTheSystemDoes) {
    const StateCase& c = GetParam();
    FakeRegistry registry;
    ScriptedCom com;
    if (c.Where != Stop::NoProgId)
        registry.SetStringValue(kHkeyClassesRoot, "Microsoft.Jet.OLEDB.4.0\\CLSID", "",
                                kRegistered);
    const std::string server = std::string("CLSID\\") + kRegistered + "\\InprocServer32";
    if (c.Where != Stop::NoProgId && c.Where != Stop::NoClass) {
        registry.SetStringValue(kHkeyClassesRoot, server, "", kLibrary);
        registry.SetStringValue(kHkeyClassesRoot, server, "ThreadingModel", "Both");
    }
    if (c.Where == Stop::Refused || c.Where == Stop::Created)
        com.Files.insert(kLibrary);
    com.Result = c.Where == Stop::Refused ? static_cast<int32_t>(0x80004005u) : 0;

    const ProviderCheck check = CheckProviderClass(registry, com, kJet);
    EXPECT_EQ(check.State, c.State);
    EXPECT_EQ(check.ProgId, "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(check.Clsid, kRegistered);
    EXPECT_TRUE(check.Essential);
    EXPECT_EQ(com.Created.size(), c.Where >= Stop::Refused ? 1u : 0u) << "created only at the end";
    FakeLibraryApi api;
    api.messages[0x80004005u] = "Unspecified error\r\n";
    EXPECT_EQ(ProviderReason(api, check, Language::English), c.Reason);
}

INSTANTIATE_TEST_SUITE_P(
    OneCasePerState, ProviderCheckStates,
    ::testing::Values(
        StateCase{"NoProgId", Stop::NoProgId, ProviderState::NoProgId,
                  "not registered: its name is not in the registry"},
        StateCase{"NoClass", Stop::NoClass, ProviderState::NoClass,
                  "not registered: the class {DEE35070-506B-11CF-B1AA-00AA00B8DE95} is not in "
                  "the registry"},
        StateCase{"LibraryMissing", Stop::NoFile, ProviderState::LibraryMissing,
                  "library missing: C:\\WINDOWS\\system32\\msjetoledb40.dll"},
        StateCase{"NotCreated", Stop::Refused, ProviderState::NotCreated,
                  "cannot be created: Unspecified error (0x80004005)"},
        StateCase{"Works", Stop::Created, ProviderState::Works, "works"}),
    [](const auto& info) { return std::string(info.param.Name); });

// The wizard's message names only the essential classes that do not work.
TEST(ProviderFailureText, EssentialClassesThatDoNotWork) {
    FakeLibraryApi api;
    ProviderCheck jet{
        .ProgId = "Microsoft.Jet.OLEDB.4.0", .State = ProviderState::NoProgId, .Essential = true};
    ProviderCheck shape{.ProgId = "MSDataShape",
                        .State = ProviderState::Crashed,
                        .Status = static_cast<int32_t>(0xC0000005u)};
    ProviderCheck ado{
        .ProgId = "ADODB.Connection", .State = ProviderState::Works, .Essential = true};
    EXPECT_EQ(ProviderFailureText(api, {jet, shape, ado}, Language::English),
              "The data provider Microsoft.Jet.OLEDB.4.0 still cannot be used. (not registered: "
              "its name is not in the registry)");
    EXPECT_EQ(ProviderFailureText(api, {shape, ado}, Language::English), "");
}

} // namespace
