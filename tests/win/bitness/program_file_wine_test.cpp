// The program file a person named, read by this 32-bit program in Wine's 64-bit prefix: System32
// names the 64-bit programs and SysWOW64 the 32-bit ones, through Vista's Sysnative alias and with
// the redirector turned off as on XP x64; a .NET program on disk reads as it does in memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "bitness/program_file_win.h"
#include "tests/pe_builder.h"
#include "text/win_text.h"

namespace {

struct FileCase {
    const char* name;
    std::wstring path;    // below the Windows folder
    uint32_t osMajor = 0; // the Windows version whose way to take; 0: this one's
    ProgramFileStatus status = ProgramFileStatus::Read;
    uint16_t machine = 0;
};

const FileCase kCases[] = {
    {.name = "System32ThroughSysnative",
     .path = L"\\system32\\notepad.exe",
     .machine = kMachineAmd64},
    {.name = "System32WithoutRedirector",
     .path = L"\\SYSTEM32\\notepad.exe",
     .osMajor = 5,
     .machine = kMachineAmd64},
    {.name = "SysWow64", .path = L"\\syswow64\\notepad.exe", .machine = kMachineI386},
    {.name = "Missing",
     .path = L"\\system32\\no such program.exe",
     .status = ProgramFileStatus::NotFound},
    {.name = "Folder", .path = L"\\system32", .status = ProgramFileStatus::NotAFile},
};

TEST(ProgramFile, ReadsTheFileThePersonNamed) {
    const FileSystemView here = CurrentFileSystemView();
    ASSERT_EQ(here.Wow64, sizeof(void*) == 4) << "a 32-bit test program in a 64-bit prefix";
    const std::wstring windows = Widen(here.SystemDir.substr(0, here.SystemDir.rfind('\\')));
    for (const FileCase& c : kCases) {
        SCOPED_TRACE(c.name);
        FileSystemView view = here;
        if (c.osMajor != 0)
            view.OsMajor = c.osMajor;
        const ProgramFileResult result = ReadProgramFile(windows + c.path, view);
        EXPECT_EQ(result.Status, c.status) << result.SystemError;
        EXPECT_EQ(result.Image.Machine, c.machine);
    }
}

TEST(ProgramFile, ReadsADotNetProgramOnDisk) {
    wchar_t folder[MAX_PATH + 1] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring path = std::wstring(folder) + L"quendry anycpu.exe";
    const std::vector<uint8_t> bytes = BuildPe({.clrFlags = 0x1});
    std::ofstream(path.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));

    const ProgramFileResult result = ReadProgramFile(path);
    ::DeleteFileW(path.c_str());
    ASSERT_EQ(result.Status, ProgramFileStatus::Read);
    EXPECT_EQ(result.Image, ReadProgramImage(bytes));
    EXPECT_EQ(RunsAs(result.Image, Bitness::Bits64), Bitness::Bits64);
}

} // namespace
