// What the repair makes of each registration outcome: a library that is there and did not register,
// whatever the reason (its host crashed, hung or ended too), is a failure to name; a missing file
// is none.
#include <gtest/gtest.h>

#include "repair/repair_entry.h"
#include "tests/fakes/fake_library_api.h"

namespace {

const std::string kLib = "C:\\Common\\System\\ado\\MSADOX.DLL";

// Answers every registration with the same outcome kind.
class CannedRegistrar : public IRegistrar {
public:
    explicit CannedRegistrar(RegistrationResult result) : m_result(result) {}
    RegistrationOutcome Register(const std::string& path, const std::string&,
                                 const std::string& displayName) override {
        Paths.push_back(path);
        RegistrationOutcome o;
        o.DisplayName = displayName;
        o.Result = m_result;
        o.Status = 7;
        return o;
    }
    std::vector<std::string> Paths;

private:
    RegistrationResult m_result;
};

struct Case {
    const char* Name;
    RegistrationResult Result;
    bool Present;
    EntryAction Action;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.Name;
}

class EntryOutcome : public ::testing::TestWithParam<Case> {};

TEST_P(EntryOutcome, DecidesTheAction) {
    const Case& c = GetParam();
    FakeLibraryApi api;
    if (c.Present)
        api.Add(kLib, FakeLibraryApi::Kind::Registering, 0,
                "C:\\COMMON~1\\SYSTEM\\ado\\MSADOX.DLL");
    CannedRegistrar registrar(c.Result);
    ComponentFile entry;
    entry.sPath = kLib;
    const EntryResult result = RepairEntry(api, registrar, entry);
    EXPECT_EQ(result.Action, c.Action);
    EXPECT_EQ(result.Outcome.Result, c.Result);
    EXPECT_EQ(result.Outcome.DisplayName, "MSADOX.DLL");
    EXPECT_EQ(result.Outcome.Status, 7) << "the registrar's outcome is kept as it came";
    ASSERT_EQ(registrar.Paths.size(), 1u);
    EXPECT_EQ(registrar.Paths[0], c.Present ? "C:\\COMMON~1\\SYSTEM\\ado\\MSADOX.DLL" : "");
}

using R = RegistrationResult;
using A = EntryAction;
INSTANTIATE_TEST_SUITE_P(Outcomes, EntryOutcome,
                         ::testing::Values(Case{"Registered", R::Registered, true, A::Registered},
                                           Case{"CallFailed", R::CallFailed, true, A::Failed},
                                           Case{"NoEntryPoint", R::NoEntryPoint, true, A::Failed},
                                           Case{"NotLoaded", R::NotLoaded, true, A::Failed},
                                           Case{"HostCrashed", R::Crashed, true, A::Failed},
                                           Case{"HostTimedOut", R::TimedOut, true, A::Failed},
                                           Case{"HostEndedProcess", R::EndedProcess, true,
                                                A::Failed},
                                           Case{"MissingFile", R::NotLoaded, false, A::NotPresent}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
