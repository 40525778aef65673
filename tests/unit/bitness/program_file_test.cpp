#include "bitness/program_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct OpeningCase {
    const char* name;
    FileSystemView view;
    std::string path;
    FileOpening opening;
};

const std::string kSystem = "C:\\WINDOWS\\system32";
const FileSystemView kVista32On64 = {.SystemDir = kSystem, .Wow64 = true, .OsMajor = 6};

const OpeningCase kCases[] = {
    {"Wow64OnVistaTakesTheAlias",
     kVista32On64,
     "c:\\windows\\SYSTEM32\\Drivers/x.sys",
     {.Path = "C:\\WINDOWS\\Sysnative\\Drivers/x.sys"}},
    {"Wow64OnXpTurnsTheRedirectorOff",
     {.SystemDir = kSystem, .Wow64 = true, .OsMajor = 5},
     "C:/Windows/System32/notepad.exe",
     {.Path = "C:/Windows/System32/notepad.exe", .WithoutRedirection = true}},
    {"NativeProcessOpensThePath",
     {.SystemDir = kSystem, .Wow64 = false, .OsMajor = 10},
     "C:\\WINDOWS\\system32\\notepad.exe",
     {.Path = "C:\\WINDOWS\\system32\\notepad.exe"}},
    {"SysWow64IsNotRedirected",
     kVista32On64,
     "C:\\WINDOWS\\SysWOW64\\notepad.exe",
     {.Path = "C:\\WINDOWS\\SysWOW64\\notepad.exe"}},
    {"ANameThatOnlyBeginsLikeIt",
     kVista32On64,
     "C:\\WINDOWS\\system32x\\a.exe",
     {.Path = "C:\\WINDOWS\\system32x\\a.exe"}},
};

class OpeningTest : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(OpeningTest, OpensTheFileThePersonNamed) {
    const OpeningCase& c = GetParam();
    EXPECT_EQ(OpeningOfNamedFile(c.path, c.view), c.opening);
}

INSTANTIATE_TEST_SUITE_P(Paths, OpeningTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
