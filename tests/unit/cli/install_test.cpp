// install and uninstall: the copy in Program Files, the event source naming it and nothing
// else, and both gone again; nothing without administrator rights.
#include "cli/event_log.h"
#include "cli/exit_codes.h"
#include "cli_fixture.h"
#include "text/printf.h"

namespace {

constexpr const char* kFolder = "C:\\Program Files\\Quendry";
constexpr const char* kCopy = "C:\\Program Files\\Quendry\\quendry-cli.exe";
constexpr const char* kDownloaded = "C:\\Users\\anna\\Downloads\\quendry-cli.exe";

void Prepare(ScriptedSystem& s) {
    s.registry.SetStringValue(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                              "ProgramFilesDir", "C:\\Program Files");
    s.registry.ExePath = kDownloaded;
}

std::string Text(const FakeRegistry::StoredValue& value) {
    std::string text(value.Data.begin(), value.Data.end());
    return text.substr(0, text.find('\0'));
}

TEST(Install, CopiesTheProgramAndRegistersTheSourceThatNamesTheCopy) {
    ScriptedSystem s;
    Prepare(s);
    EXPECT_EQ(s.Run({"install"}), kExitOk);
    EXPECT_EQ(s.host.Folders, std::set<std::string>{kFolder});
    EXPECT_EQ(s.host.Copies, (std::map<std::string, std::string>{{kCopy, kDownloaded}}));
    const auto file = s.registry.GetValue(kHkeyLocalMachine, kEventSourceKey, "EventMessageFile");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Type, static_cast<uint32_t>(kRegExpandSz));
    EXPECT_EQ(Text(*file), kCopy);
    const auto types = s.registry.GetValue(kHkeyLocalMachine, kEventSourceKey, "TypesSupported");
    ASSERT_TRUE(types);
    EXPECT_EQ(types->Type, static_cast<uint32_t>(kRegDword));
    EXPECT_EQ(types->Data, (ByteArray{7, 0, 0, 0}));
    EXPECT_EQ(s.host.Out, modAPI::printf(s.T(347), {std::string(kCopy)}) + "\n");

    // From the installed copy: the source again, no copy onto itself.
    s.host.Copies.clear();
    s.registry.ExePath = "c:\\program files\\QUENDRY\\quendry-cli.exe";
    EXPECT_EQ(s.Run({"install"}), kExitOk);
    EXPECT_TRUE(s.host.Copies.empty());

    // Uninstalled from that copy, which is running: gone at restart.
    s.host.Out.clear();
    s.host.InUse = {kCopy, kFolder};
    EXPECT_EQ(s.Run({"uninstall"}), kExitOk);
    EXPECT_FALSE(s.registry.HasKey(kHkeyLocalMachine, kEventSourceKey));
    EXPECT_TRUE(s.registry.HasKey(kHkeyLocalMachine,
                                  "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application"));
    EXPECT_TRUE(s.host.Folders.empty());
    EXPECT_EQ(s.host.Out, s.T(350) + "\n");
    // Nothing left to remove is no failure.
    s.host.Out.clear();
    s.host.InUse.clear();
    EXPECT_EQ(s.Run({"uninstall"}), kExitOk);
    EXPECT_EQ(s.host.Out, s.T(349) + "\n");
}

TEST(Install, WithoutAdministratorRightsNothingIsDone) {
    for (const char* command : {"install", "uninstall"}) {
        ScriptedSystem s;
        Prepare(s);
        s.registry.SetStringValue(kHkeyLocalMachine, kEventSourceKey, "EventMessageFile", kCopy);
        s.host.Elevated = false;
        EXPECT_EQ(s.Run({command}), kExitNotElevated) << command;
        EXPECT_EQ(s.host.Err, s.T(353) + "\n");
        EXPECT_TRUE(s.host.Copies.empty() && s.host.Folders.empty());
        EXPECT_TRUE(s.registry.GetValue(kHkeyLocalMachine, kEventSourceKey, "EventMessageFile"));
    }
}

TEST(Install, AFolderThatCannotBeWrittenIsNamed) {
    ScriptedSystem s;
    Prepare(s);
    s.host.Unwritable.insert(kCopy);
    EXPECT_EQ(s.Run({"install"}), kExitAttention);
    EXPECT_EQ(s.host.Err, modAPI::printf(s.T(348), {std::string(kCopy)}) + "\n");
    EXPECT_FALSE(s.registry.HasKey(kHkeyLocalMachine, kEventSourceKey));
}

} // namespace
