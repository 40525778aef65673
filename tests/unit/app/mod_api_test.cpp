#include <gtest/gtest.h>

#include "app/mod_api.h"
#include "tests/fakes/fake_system.h"

struct VersionRow {
    uint32_t Platform, Major, Minor;
    int32_t Class;
};

class VersionClass : public ::testing::TestWithParam<VersionRow> {};

TEST_P(VersionClass, Classifies) {
    const auto& r = GetParam();
    EXPECT_EQ(modAPI::ClassifyWindowsVersion(r.Platform, r.Major, r.Minor), r.Class);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VersionClass,
    ::testing::Values(VersionRow{1, 4, 0, 1}, VersionRow{1, 4, 10, 2}, VersionRow{1, 4, 90, 5},
                      VersionRow{1, 4, 3, 0}, VersionRow{0, 3, 10, 2}, VersionRow{2, 4, 0, 3},
                      VersionRow{2, 4, 7, 3}, VersionRow{2, 5, 0, 4}, VersionRow{2, 5, 1, 6},
                      VersionRow{2, 5, 2, 7}, VersionRow{2, 5, 3, 0}, VersionRow{2, 6, 0, 8},
                      VersionRow{2, 6, 1, 8}, VersionRow{2, 6, 2, 8}, VersionRow{2, 6, 3, 8},
                      VersionRow{2, 10, 0, 0}, VersionRow{2, 3, 51, 0}));

TEST(VersionClassCache, KeptOnceKnownExaminedAgainWhileUnknown) {
    modAPI::ResetWindowsVersionClass();
    FakeSystem sys;
    sys.Version = {2, 10, 0, 0};
    EXPECT_EQ(modAPI::GetWindowsVersionClass(sys), 0);
    sys.Version = {2, 5, 1, 2600};
    EXPECT_EQ(modAPI::GetWindowsVersionClass(sys), 6);
    sys.Version = {2, 6, 1, 7601};
    EXPECT_EQ(modAPI::GetWindowsVersionClass(sys), 6);
    EXPECT_EQ(std::count(sys.Calls.begin(), sys.Calls.end(), "GetVersionEx"), 2);
    modAPI::ResetWindowsVersionClass();
}

TEST(SpecialFolder, PathOrEmpty) {
    FakeSystem sys;
    sys.CommonFiles = std::string("C:\\Program Files\\Common Files\0garbage", 38);
    EXPECT_EQ(modAPI::GetSpecialFolderPath(sys, 43), "C:\\Program Files\\Common Files");
    EXPECT_EQ(sys.Calls.back(), "SHGetFolderPath(43)");
    sys.FolderResult = static_cast<int32_t>(0x80070002);
    EXPECT_EQ(modAPI::GetSpecialFolderPath(sys, 43), "");
}
