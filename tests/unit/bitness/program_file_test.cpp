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
    {.name = "Wow64OnVistaTakesTheAlias",
     .view = kVista32On64,
     .path = "c:\\windows\\SYSTEM32\\Drivers/x.sys",
     .opening = {.Path = "C:\\WINDOWS\\Sysnative\\Drivers/x.sys"}},
    {.name = "Wow64OnXpTurnsTheRedirectorOff",
     .view = {.SystemDir = kSystem, .Wow64 = true, .OsMajor = 5},
     .path = "C:/Windows/System32/notepad.exe",
     .opening = {.Path = "C:/Windows/System32/notepad.exe", .WithoutRedirection = true}},
    {.name = "NativeProcessOpensThePath",
     .view = {.SystemDir = kSystem, .Wow64 = false, .OsMajor = 10},
     .path = "C:\\WINDOWS\\system32\\notepad.exe",
     .opening = {.Path = "C:\\WINDOWS\\system32\\notepad.exe"}},
    {.name = "SysWow64IsNotRedirected",
     .view = kVista32On64,
     .path = "C:\\WINDOWS\\SysWOW64\\notepad.exe",
     .opening = {.Path = "C:\\WINDOWS\\SysWOW64\\notepad.exe"}},
    {.name = "ANameThatOnlyBeginsLikeIt",
     .view = kVista32On64,
     .path = "C:\\WINDOWS\\system32x\\a.exe",
     .opening = {.Path = "C:\\WINDOWS\\system32x\\a.exe"}},
};

class OpeningTest : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(OpeningTest, OpensTheFileThePersonNamed) {
    const OpeningCase& c = GetParam();
    EXPECT_EQ(OpeningOfNamedFile(c.path, c.view), c.opening);
}

INSTANTIATE_TEST_SUITE_P(Paths, OpeningTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
