// quendry-cli install and uninstall on a Windows under Wine: the copy in Program Files, the event
// source's registry values naming it, a run with --event-log that then has nothing to say about
// the source, and after uninstall neither the values nor the copy.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "cli/console_text.h"
#include "cli_process.h"
#include "driver.h"
#include "text/string_table.h"

namespace {

const wchar_t* const kSourceKey =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quendry";

struct Value {
    DWORD Type = 0;
    std::wstring Text;
    DWORD Number = 0;
};

std::optional<Value> Read(const wchar_t* path, const wchar_t* name, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return std::nullopt;
    BYTE data[2048] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    Value v;
    const LONG rc = RegQueryValueExW(key, name, nullptr, &v.Type, data, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    if (v.Type == REG_DWORD)
        std::memcpy(&v.Number, data, sizeof v.Number);
    else
        v.Text = reinterpret_cast<const wchar_t*>(data);
    return v;
}

bool SourceKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace

TEST(CliInstall, RegistersTheSourceForTheCopyAndUninstallLeavesNothing) {
    const auto programFiles =
        Read(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir", KEY_WOW64_32KEY);
    ASSERT_TRUE(programFiles);
    const std::wstring folder = programFiles->Text + L"\\Quendry";
    const std::wstring copy = folder + L"\\quendry-cli.exe";

    const CliResult install = RunCli(L"install");
    ASSERT_TRUE(install.Finished);
    EXPECT_EQ(install.ExitCode, 0u) << install.Err;
    EXPECT_NE(GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    const auto file = Read(kSourceKey, L"EventMessageFile");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(file->Text, copy);
    const auto types = Read(kSourceKey, L"TypesSupported");
    ASSERT_TRUE(types);
    EXPECT_EQ(types->Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(types->Number, 7u);
    // With the source registered, the run has nothing to say about its event.
    const CliResult logged = RunCli(L"report --summary --event-log");
    ASSERT_TRUE(logged.Finished);
    EXPECT_LE(logged.ExitCode, 1u);
    EXPECT_EQ(logged.Err, "");

    const CliResult uninstall = RunCli(L"uninstall");
    ASSERT_TRUE(uninstall.Finished);
    EXPECT_EQ(uninstall.ExitCode, 0u) << uninstall.Err;
    EXPECT_FALSE(SourceKeyExists());
    EXPECT_EQ(GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    // Without it, the run says once how to register it.
    const CliResult unregistered = RunCli(L"report --summary --event-log");
    ASSERT_TRUE(unregistered.Finished);
    EXPECT_EQ(LineFeedsOnly(unregistered.Err), LoadText(345, LanguageOfThisRun()) + "\n");
}
