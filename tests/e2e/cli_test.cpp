// quendry-cli.exe on laid-out systems: the report says what the wizard shows for the same system
// (its version page sentences and the marks of its file list), the JSON parses and holds every
// library, the repair registers the same 24 libraries and names the failing one's reason, the
// data providers are checked in both, Ctrl+C stops the repair after the library in work, and
// without administrator rights nothing changes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "cli/console_text.h"
#include "cli_process.h"
#include "data_access_setup.h"
#include "fixtures/layout.h"
#include "flow_support.h"
#include "repair/component_table.h"
#include "tests/emulation_win.h"
#include "tests/fakes/json_reader.h"
#include "tests/pe_builder.h"
#include "tests/processes_win.h"
#include "text/string_table.h"

using C = ControlId;

namespace {

constexpr size_t kSkipped[] = {1, 8, 10, 12, 13, 15, 27};

bool Skipped(size_t i) {
    return std::find(std::begin(kSkipped), std::end(kSkipped), i) != std::end(kSkipped);
}

std::string T(uint16_t id) {
    return LoadText(id, LanguageOfThisRun());
}

// The line of `text` that begins with `start`; empty when none does.
std::string LineOf(const std::string& text, const std::string& start) {
    const size_t at = text.find("\n" + start);
    if (at == std::string::npos)
        return {};
    return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes = ReadAll(file);
    CloseHandle(file);
    return bytes;
}

// A program's output as the core wrote it: the pipe carries Windows line ends.
std::string Lf(const std::string& text) {
    return LineFeedsOnly(text);
}

// What the wizard shows for the laid-out system: its version page and its file list.
struct WizardView {
    std::string MdacDescr, JetDescr, MdacHeader, JetHeader;
    bool LinkShown = false;
    std::string Link;
    std::vector<std::vector<std::string>> Rows; // file name, version, path
    std::vector<int> Images;
};

bool ReadWizard(WizardView& view) {
    QuendryProcess q;
    if (!q.Start() || !PressNext(q, C::pic2))
        return false;
    view.MdacDescr = q.Text(C::lblMDACVerDescr);
    view.JetDescr = q.Text(C::lblJetVerDescr);
    view.MdacHeader = q.Text(C::lblMDACVerHeader);
    view.JetHeader = q.Text(C::lblJetVerHeader);
    view.LinkShown = q.Visible(C::lblDownloadMDAC);
    view.Link = q.Text(C::lblDownloadMDAC);
    // Leaving the version page fills the file list; the list is shown after the repair, when the
    // problems remain.
    if (!PressNext(q, C::pic3) || !RunRepair(q))
        return false;
    q.Click(C::optFurtherProblems);
    if (!PressNext(q, C::pic4) || q.ListCount(C::lvwMDACFiles) != 27)
        return false;
    for (int i = 0; i < q.ListCount(C::lvwMDACFiles); ++i) {
        view.Rows.push_back(q.ListRow(C::lvwMDACFiles, i));
        view.Images.push_back(q.ListImage(C::lvwMDACFiles, i));
    }
    q.Kill();
    return true;
}

struct CliSystem {
    const char* Name;
    const wchar_t* Windows;
    fixtures::SystemLayout Layout;
    DWORD Exit;
};

std::ostream& operator<<(std::ostream& os, const CliSystem& c) {
    return os << c.Name;
}

fixtures::SystemLayout UpToDate() {
    return fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0");
}

// Windows 2000 with MDAC 2.80 and an old Jet: both verdicts out of date, the download advised,
// one library missing and one of the old release.
fixtures::SystemLayout Outdated() {
    return fixtures::AllAt("2.81.1117.0", "4.0.2927.4")
        .WithFullInstallVer("2.80.1022.0")
        .With(6, "2.80.1022.0")
        .With(4, fixtures::FixtureFile::Absent());
}

} // namespace

// Lays systems out for both programs: the Windows version goes to each program's own setting.
class CliTest : public LaidOutSystemTest {
protected:
    void UseWindowsForBoth(const wchar_t* version) {
        UseWindows(version);
        SetWineWindowsVersion(kCliExe, version);
    }
    void TearDown() override {
        SetWineWindowsVersion(kCliExe, nullptr);
        LaidOutSystemTest::TearDown();
    }
};

template <typename P>
class CliTestWithParam : public CliTest, public ::testing::WithParamInterface<P> {};

// The report's lines against the wizard's pages, in the language of the run: one up-to-date
// system and one outdated one.
class CliReportLanguage : public CliTestWithParam<CliSystem> {};

TEST_P(CliReportLanguage, LinesMatchWhatTheWizardShows) {
    const CliSystem& c = GetParam();
    UseWindowsForBoth(c.Windows);
    ASSERT_NO_THROW(fixtures::ApplyLayout(c.Layout));
    WizardView wizard;
    ASSERT_TRUE(ReadWizard(wizard)) << "the wizard did not reach its file list";

    const CliResult r = RunCli(L"report");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, c.Exit);
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out.find('\n'), r.Out.find("\r\n") + 1) << "Windows line ends on a pipe";
    const std::string text = Lf(r.Out);
    const auto has = [&](const std::string& line) {
        return text.find("\n" + line + "\n") != std::string::npos;
    };
    EXPECT_TRUE(has(Lf(wizard.MdacDescr))) << wizard.MdacDescr << "\n---\n" << text;
    EXPECT_TRUE(has(Lf(wizard.JetDescr))) << wizard.JetDescr << "\n---\n" << text;
    EXPECT_TRUE(has(wizard.MdacHeader));
    EXPECT_TRUE(has(wizard.JetHeader));
    EXPECT_TRUE(has(wizard.LinkShown ? Fill(T(212), wizard.Link) : T(213))) << text;
    EXPECT_TRUE(has(T(c.Exit == 0 ? 222 : 223)));

    // Each row of the file list stands in the report with its version, mark and path.
    ASSERT_EQ(wizard.Rows.size(), 27u);
    for (size_t i = 0; i < wizard.Rows.size(); ++i) {
        const auto& row = wizard.Rows[i];
        ASSERT_EQ(row.size(), 3u);
        const size_t at = text.find("\n" + row[0] + " ");
        ASSERT_NE(at, std::string::npos) << row[0];
        const std::string line = text.substr(at + 1, text.find('\n', at + 1) - at - 1);
        EXPECT_NE(line.find(" " + row[1] + " "), std::string::npos) << line;
        // The check mark is "matches"; the warning sign "differs", or "missing" for a file that
        // is not there.
        const uint16_t mark = wizard.Images[i] == 1 ? 218 : row[1] == "N/A" ? 244 : 219;
        EXPECT_NE(line.find(" " + T(mark) + " "), std::string::npos) << line;
        EXPECT_EQ(line.substr(line.size() - row[2].size()), row[2]) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, CliReportLanguage,
                         ::testing::Values(CliSystem{"UpToDate", L"win7", UpToDate(), 0},
                                           CliSystem{"Outdated", L"win2k", Outdated(), 1}),
                         [](const auto& info) { return std::string(info.param.Name); });

class CliReport : public CliTest {};

TEST_F(CliReport, JsonParsesAndHoldsEveryLibrary) {
    UseWindowsForBoth(L"win2k");
    ASSERT_NO_THROW(fixtures::ApplyLayout(Outdated()));
    const CliResult r = RunCli(L"report --json");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 1u);
    std::string error;
    const auto doc = json::Parse(r.Out, &error);
    ASSERT_TRUE(doc) << error << "\n" << r.Out;
    const json::Value& d = *doc;
    EXPECT_EQ(d["windows"]["major"].number, 5);
    EXPECT_EQ(d["windows"]["minor"].number, 0);
    EXPECT_EQ(d["windows"]["class"].number, 4);
    EXPECT_EQ(d["mdac"]["fullInstallVer"].text, "2.80.1022.0");
    EXPECT_EQ(d["mdac"]["advice"].text, "download");
    EXPECT_EQ(d["jet"]["path"].text, fixtures::ComponentPath(fixtures::kFirstJetIndex));
    EXPECT_EQ(d["jet"]["version"].text, "4.0.2927");
    EXPECT_EQ(d["jet"]["build"].number, 4);
    EXPECT_FALSE(d["advisedPage"].IsNull());
    EXPECT_TRUE(d["needsAttention"].boolean);
    const auto& items = d["components"].items;
    ASSERT_EQ(items.size(), 31u);
    for (size_t i = 0; i < items.size(); ++i) {
        const json::Value& item = items[i];
        EXPECT_EQ(item["index"].number, static_cast<double>(i));
        EXPECT_EQ(item["fileName"].text, GetFile(fixtures::ComponentPath(i)));
        EXPECT_EQ(item["registeredByRepair"].boolean, !Skipped(i));
        if (i == 4) {
            EXPECT_FALSE(item["present"].boolean);
            EXPECT_TRUE(item["path"].IsNull());
            EXPECT_FALSE(item["matches"].boolean);
        } else {
            EXPECT_TRUE(item["present"].boolean) << i;
            EXPECT_EQ(item["path"].text, fixtures::ComponentPath(i));
        }
        if (i == 6) {
            EXPECT_TRUE(item["matches"].boolean) << "2.80.1022 belongs to the release 2.80";
        }
    }
    // The laid-out Jet provider, registered where it lies, is created.
    const auto& providers = d["providers"].items;
    ASSERT_EQ(providers.size(), 10u);
    const json::Value& jet = providers[4];
    EXPECT_EQ(jet["progId"].text, "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(jet["library"].text, fixtures::ComponentPath(fixtures::kJetProviderIndex));
    EXPECT_EQ(jet["threadingModel"].text, "Apartment");
    EXPECT_EQ(jet["state"].text, "works");
    EXPECT_TRUE(jet["essential"].boolean);
    EXPECT_EQ(d["failingEssentialProviders"].number, 0);
}

// Every file up to date, but the Jet provider's library registers no class: without it a database
// program can't open an Access file, and that alone needs attention.
TEST_F(CliReport, AnEssentialProviderThatIsNotRegisteredNeedsAttention) {
    UseWindowsForBoth(L"win7");
    ASSERT_NO_THROW(
        fixtures::ApplyLayout(UpToDate().With(fixtures::kJetProviderIndex, "4.0.8015.0")));
    const CliResult r = RunCli(L"report");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 1u);
    const std::string text = Lf(r.Out);
    EXPECT_NE(LineOf(text, "Microsoft.Jet.OLEDB.4.0 ").find(" " + T(247) + " "), std::string::npos)
        << text;
    EXPECT_NE(LineOf(text, "ADODB.Connection ").find(" " + T(246) + " "), std::string::npos)
        << text;
    EXPECT_NE(text.find("\n" + Fill(T(260), "1") + "\n"), std::string::npos) << text;
}

TEST_F(CliReport, OutWritesTheFileAndAnUnwritableOneIsAnError) {
    UseWindowsForBoth(L"win7");
    ASSERT_NO_THROW(fixtures::ApplyLayout(UpToDate()));
    const std::wstring file = ExeFolder() + L"\\cli-report.txt";
    DeleteFileW(file.c_str());
    const CliResult r = RunCli(L"report --out \"" + file + L"\"");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 0u);
    EXPECT_EQ(r.Out, "");
    const std::string written = FileBytes(file);
    ASSERT_GT(written.size(), kUtf8Bom.size());
    EXPECT_EQ(written.substr(0, 3), kUtf8Bom);
    EXPECT_EQ(written.substr(3), RunCli(L"report").Out) << "the console's text, with the mark";
    DeleteFileW(file.c_str());

    const CliResult bad = RunCli(L"report --out C:\\no-such-folder\\r.txt");
    EXPECT_EQ(bad.ExitCode, 2u);
    EXPECT_EQ(bad.Out, "");
    EXPECT_EQ(Lf(bad.Err), Fill(T(231), "C:\\no-such-folder\\r.txt") + "\n");
}

class CliRepair : public CliTest {};

TEST_F(CliRepair, RegistersTheTwentyFourAndNamesTheFailingReason) {
    ASSERT_NO_THROW(
        fixtures::ApplyLayout(UpToDate().With(2, fixtures::FixtureFile::Failing("2.81.1117.0"))));
    const auto start = std::chrono::steady_clock::now();
    const CliResult r = RunCli(L"repair");
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 1u);
    EXPECT_EQ(r.Err, "");
    for (size_t i = 0; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), Skipped(i) ? 0u : 1u) << name;
    }
    const std::string text = Lf(r.Out);
    EXPECT_NE(text.find("MSADOR15.DLL      " + Fill(T(228), "0x80004005") + "\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("MSADO15.DLL       " + T(225) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MSADER15.DLL      " + T(226) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find(Fill(T(229), "1")), std::string::npos) << text;
    // The wizard pauses some six seconds for its reader; the console does not.
    EXPECT_LT(took, std::chrono::seconds(30));
}

// Registrations run in a host process, as in the wizard: a library that crashes ends the host,
// not the run.
TEST_F(CliRepair, ACrashingLibraryEndsOnlyItsHost) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(UpToDate().With(
        2, fixtures::FixtureFile::Of(fixtures::FixtureKind::Crash, "2.81.1117.0"))));
    const CliResult r = RunCli(L"repair");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 1u);
    const std::string text = Lf(r.Out);
    EXPECT_NE(
        text.find("MSADOR15.DLL      " + Fill(T(228), Fill(T(160), NullWriteStatusText())) + "\n"),
        std::string::npos)
        << text;
    for (size_t i = 3; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), Skipped(i) ? 0u : 1u) << name;
    }
}

// After the registrations the classes are created, each in the host: a class refused and one whose
// library crashes are named so, and the check goes on with the next.
TEST_F(CliRepair, TheProvidersAreCheckedAfterTheRegistrations) {
    using fixtures::FixtureKind;
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        UpToDate()
            .With(6, fixtures::FixtureFile::Of(FixtureKind::ClassRefused, "2.81.1117.0"))
            .With(14, fixtures::FixtureFile::Of(FixtureKind::ProviderCrash, "2.81.1117.0"))));
    const CliResult r = RunCli(L"repair");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 0u) << "every library registered";
    const std::string text = Lf(r.Out);
    EXPECT_NE(LineOf(text, "JRO.JetEngine ").find(" " + Fill(T(250), "")), std::string::npos)
        << text;
    EXPECT_NE(LineOf(text, "JRO.JetEngine ").find("(0x80040111)"), std::string::npos) << text;
    EXPECT_NE(LineOf(text, "MSDataShape ").find(" " + Fill(T(160), NullWriteStatusText()) + " "),
              std::string::npos)
        << text;
    EXPECT_NE(LineOf(text, "MSDataShape ").find(GetFile(fixtures::ComponentPath(14))),
              std::string::npos)
        << "the crash keeps what the registry says: " << text;
    EXPECT_NE(LineOf(text, "SQLOLEDB ").find(" " + T(247) + " "), std::string::npos) << text;
    EXPECT_NE(text.find("\n" + Fill(T(260), "0") + "\n"), std::string::npos) << text;
}

BOOL WINAPI KeepRunning(DWORD) {
    return TRUE;
}

// Ctrl+C while a library is in work: that one is finished, the rest are named as not attempted,
// and nothing is left running. Wine 8 sends no Ctrl+Break (GenerateConsoleCtrlEvent fails with
// ERROR_INVALID_HANDLE) and Windows sends no Ctrl+C to a process group of its own: so Ctrl+C goes
// to the whole console, this program's own group included, which only notes it.
TEST_F(CliRepair, CtrlCStopsAfterTheLibraryInWork) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(
        UpToDate().With(2, fixtures::FixtureFile::Of(fixtures::FixtureKind::Slow, "2.81.1117.0"))));
    const std::string slow = GetFile(fixtures::ComponentPath(2));
    // A console of its own to share with the program: on the one Wine gives a program started from
    // the shell, GenerateConsoleCtrlEvent fails.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    const PHANDLER_ROUTINE keepRunning = KeepRunning;
    SetConsoleCtrlHandler(keepRunning, TRUE);
    bool sent = false;
    const CliResult r = RunCli(L"repair", nullptr, [&] {
        // Once the slow library's registration has begun: it takes a second.
        for (int i = 0; i < 500 && !sent; ++i) {
            if (fixtures::ReadRegistrationCount(slow) == 1)
                sent = GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != FALSE;
            else
                Sleep(10);
        }
    });
    SetConsoleCtrlHandler(keepRunning, FALSE);
    FreeConsole();
    // Back to the console the other tests run with, where there is one.
    AttachConsole(ATTACH_PARENT_PROCESS);
    ASSERT_TRUE(sent);
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 1u);
    const std::string text = Lf(r.Out);
    EXPECT_NE(text.find(slow + "      " + T(225) + "\n"), std::string::npos) << text;
    size_t notAttempted = 0;
    for (size_t i = 3; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), 0u) << name;
        notAttempted += Skipped(i) ? 0 : 1;
    }
    const std::string last = GetFile(fixtures::ComponentPath(fixtures::kComponentCount - 1));
    EXPECT_NE(text.find(last + std::string(18 - last.size(), ' ') + T(324) + "\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(Fill(T(325), std::to_string(notAttempted))), std::string::npos) << text;
    EXPECT_EQ(text.find("0xC000013A"), std::string::npos) << text;
    int left = ProcessesNamed(kCliExe);
    for (int i = 0; i < 50 && left != 0; ++i, Sleep(100))
        left = ProcessesNamed(kCliExe);
    EXPECT_EQ(left, 0) << "a registration host outlived the run";
}

TEST_F(CliRepair, MissingLibrariesAreNotFailures) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(fixtures::NonePresent()));
    const CliResult r = RunCli(L"repair");
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 0u);
    const std::string text = Lf(r.Out);
    EXPECT_NE(text.find("MSADO15.DLL       " + T(227) + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find(Fill(T(229), "0")), std::string::npos) << text;
}

// Wine gives an administrator's process an elevated token linked to a limited one, as Windows
// does under UAC: started with the limited one, the repair refuses and changes nothing.
TEST_F(CliRepair, WithoutElevationNothingIsRegistered) {
    ASSERT_NO_THROW(fixtures::ApplyLayout(UpToDate()));
    HANDLE own = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own));
    HANDLE linked = nullptr;
    DWORD size = 0;
    const BOOL haveLinked = GetTokenInformation(own, static_cast<TOKEN_INFORMATION_CLASS>(19),
                                                &linked, sizeof linked, &size);
    CloseHandle(own);
    if (!haveLinked || linked == nullptr)
        GTEST_SKIP() << "this Wine gives no limited token; the unit tests cover the refusal";
    HANDLE limited = nullptr;
    ASSERT_TRUE(DuplicateTokenEx(linked, MAXIMUM_ALLOWED, nullptr, SecurityImpersonation,
                                 TokenPrimary, &limited));
    CloseHandle(linked);
    DWORD elevated = 1;
    GetTokenInformation(limited, static_cast<TOKEN_INFORMATION_CLASS>(20), &elevated,
                        sizeof elevated, &size);
    if (elevated != 0) {
        CloseHandle(limited);
        GTEST_SKIP() << "the linked token is the elevated one: this test runs without elevation";
    }
    const CliResult r = RunCli(L"repair", limited);
    CloseHandle(limited);
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, 3u);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(Lf(r.Err), T(230) + "\n");
    for (size_t i = 0; i < fixtures::kComponentCount; ++i) {
        const std::string name = GetFile(fixtures::ComponentPath(i));
        EXPECT_EQ(fixtures::ReadRegistrationCount(name), 0u) << name;
    }
    // The report needs no rights.
    const CliResult report = RunCli(L"report");
    EXPECT_EQ(report.ExitCode, 0u);
}

// Help and usage errors, in the language of the run.
class CliUsageLanguage : public CliTest {};

TEST_F(CliUsageLanguage, HelpAndUnknownArgumentsExitTwo) {
    const CliResult help = RunCli(L"--help");
    ASSERT_TRUE(help.Started && help.Finished);
    EXPECT_EQ(help.ExitCode, 2u);
    EXPECT_EQ(Lf(help.Out), T(200));
    const CliResult unknown = RunCli(L"frobnicate");
    EXPECT_EQ(unknown.ExitCode, 2u);
    EXPECT_EQ(unknown.Out, "");
    EXPECT_EQ(Lf(unknown.Err), Fill(T(201), "frobnicate") + "\n\n" + T(200));
}

// ---- Which programs can open databases here: fixture providers and drivers of both
// architectures, each registered in the view it belongs to, and the answer's exact lines. ----

namespace {

const std::string kRunAs32 =
    "Remedy: run the program as 32-bit (built for x86 or with \"Prefer 32-bit\"; for an IIS "
    "application pool, enable 32-bit applications).";
const std::string kChecked64 = "(registered, file present, 64-bit image; not loaded)";
const std::string kCreated = "(an object was created in a 32-bit process)";

struct DataAccessCase {
    const char* Name;
    std::function<void(DataAccessSetup&)> Lay;
    // Exact lines of the 32-bit and the 64-bit programs' answers and of the inventory; "{user}"
    // stands for the account the report names.
    std::vector<std::string> Lines32 = {};
    std::vector<std::string> Lines64 = {};
    std::vector<std::string> Inventory = {};
};

// The lines between the line that is `from` and the next that starts no answer line.
std::string Section(const std::string& text, const std::string& from, const std::string& to) {
    const size_t start = text.find("\n" + from + "\n");
    const size_t end = text.find("\n" + to, start == std::string::npos ? 0 : start);
    if (start == std::string::npos || end == std::string::npos)
        return {};
    return text.substr(start, end - start + 1);
}

class DataAccessAnswer : public CliTest, public ::testing::WithParamInterface<DataAccessCase> {};

TEST_P(DataAccessAnswer, SaysWhatEachBitnessCanOpen) {
    const DataAccessCase& c = GetParam();
    UseWindowsForBoth(L"win7");
    DataAccessSetup setup;
    c.Lay(setup);
    ASSERT_TRUE(setup.Ok);
    const CliResult r = RunCli(L"report");
    ASSERT_TRUE(r.Started && r.Finished);
    const std::string text = Lf(r.Out);
    const size_t of = text.find("User data sources (of ");
    ASSERT_NE(of, std::string::npos) << text;
    const std::string user = text.substr(of + 22, text.find(", seen by", of) - of - 22);
    const auto expect = [&](const std::string& section, const std::vector<std::string>& lines) {
        for (std::string line : lines) {
            if (const size_t at = line.find("{user}"); at != std::string::npos)
                line.replace(at, 6, user);
            EXPECT_NE(section.find("\n" + line + "\n"), std::string::npos) << line << "\n" << text;
        }
    };
    expect(Section(text, "32-bit programs:", "64-bit programs:"), c.Lines32);
    expect(Section(text, "64-bit programs:", "A yes for 64-bit"), c.Lines64);
    expect(Section(text, "What is installed", "Office"), c.Inventory);
    EXPECT_NE(
        text.find("\nWindows is 64-bit: the 32-bit and the 64-bit registry view were read.\n"),
        std::string::npos);
    // The same facts as JSON (kept for the schema check), with the same exit code.
    const CliResult json = RunCli(L"report --json");
    ASSERT_TRUE(json.Finished);
    EXPECT_EQ(json.ExitCode, r.ExitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Machines, DataAccessAnswer,
    ::testing::Values(
        DataAccessCase{
            .Name = "SixtyFourBitProgramAskingForJet",
            .Lay = [](DataAccessSetup& s) { s.Jet32(); },
            .Lines32 = {"  .mdb through OLE DB: yes, Microsoft.Jet.OLEDB.4.0 " + kCreated,
                        "  .mdb through ODBC: yes, Microsoft Access Driver (*.mdb) (registered, "
                        "file present, 32-bit image; not loaded)"},
            .Lines64 = {"  .mdb through OLE DB: no. Only 32-bit programs have what opens it "
                        "here. " +
                            kRunAs32,
                        "  .mdb through ODBC: no. Only 32-bit programs have what opens it here. " +
                            kRunAs32}},
        DataAccessCase{
            .Name = "EngineOnlyInTheOtherBitness",
            .Lay = [](DataAccessSetup& s) { s.Ace64(); },
            .Lines32 = {"  .accdb through OLE DB: no. Only 64-bit programs have what opens it "
                        "here. Remedy: use the program's 64-bit version: the Access Database "
                        "Engine follows Office's bitness, and its installer refuses the other "
                        "one."},
            .Lines64 = {"  .accdb through OLE DB: yes, Microsoft.ACE.OLEDB.16.0 " + kChecked64,
                        "  .xlsx through ODBC: yes, Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, "
                        "*.xlsb) " +
                            kChecked64},
            .Inventory = {"  OLE DB Microsoft.ACE.OLEDB.16.0: 64-bit, C:\\Program Files\\Common "
                          "Files\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL"}},
        DataAccessCase{
            .Name = "EngineOnlyInsideClickToRun",
            .Lay =
                [](DataAccessSetup& s) {
                    const std::wstring c2r = L"Software\\Microsoft\\Office\\ClickToRun";
                    const std::wstring config = c2r + L"\\Configuration";
                    s.Value(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, config, L"Platform", L"x64");
                    s.Value(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, config, L"VersionToReport",
                            L"16.0.12527.20242");
                    s.Value(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, config, L"ProductReleaseIds",
                            L"O365ProPlusRetail");
                    const std::wstring classes = c2r + L"\\REGISTRY\\MACHINE\\Software\\Classes\\";
                    s.Value(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
                            classes + L"Microsoft.ACE.OLEDB.16.0\\CLSID", L"", kAceClsid);
                    s.Value(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY,
                            classes + L"CLSID\\" + kAceClsid + L"\\InprocServer32", L"",
                            L"C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\"
                            L"ACEOLEDB.DLL");
                },
            .Lines64 = {"  .accdb through OLE DB: no. The Access Database Engine is registered "
                        "only inside Click-to-Run Office, for Office's own programs. Remedy: "
                        "update Office: Click-to-Run Office from Version 2009 on registers the "
                        "Access Database Engine for all programs."}},
        DataAccessCase{
            .Name = "SystemDataSourceWhoseDriverIs32BitOnly",
            .Lay =
                [](DataAccessSetup& s) {
                    s.Jet32();
                    s.Source(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, L"Orders", kJetDriver);
                },
            .Lines32 = {"  Data source \"Orders\" (system, 32-bit view): yes, driver Microsoft "
                        "Access Driver (*.mdb)"},
            .Lines64 = {"  Data source \"Orders\" (system, 32-bit view): no. It is a system data "
                        "source of the 32-bit view, which 64-bit programs don't see. " +
                        kRunAs32}},
        DataAccessCase{
            .Name = "UserDataSourceSeenByBoth",
            .Lay =
                [](DataAccessSetup& s) {
                    s.Ace64();
                    s.Driver(KEY_WOW64_32KEY, kAceDriver, s.Library32(L"ACEODBC.DLL"),
                             L"*.mdb,*.accdb");
                    s.Source(HKEY_CURRENT_USER, 0, L"Mine", kAceDriver);
                },
            .Lines32 = {"  Data source \"Mine\" (user {user}): yes, driver Microsoft Access "
                        "Driver (*.mdb, *.accdb)"},
            .Lines64 = {"  Data source \"Mine\" (user {user}): yes, driver Microsoft Access "
                        "Driver (*.mdb, *.accdb)"}},
        DataAccessCase{
            .Name = "NothingInstalled",
            .Lay = [](DataAccessSetup&) {},
            .Lines32 = {"  .mdb through OLE DB: no. Nothing for it is installed for 32-bit "
                        "programs. Remedy: Jet is part of Windows: run this program's repair "
                        "(quendry-cli repair)."},
            .Lines64 = {"  .accdb through OLE DB: no. Nothing for it is installed for 64-bit "
                        "programs. Remedy: install the 64-bit Microsoft Access Database Engine "
                        "2016 Redistributable."}},
        DataAccessCase{
            .Name = "EverythingInBothAndAMismatchedJet",
            .Lay =
                [](DataAccessSetup& s) {
                    s.Jet32();
                    s.Ace64();
                    s.Provider(KEY_WOW64_32KEY, L"Microsoft.ACE.OLEDB.16.0", kAceClsid,
                               s.Library("fixture_aceprovider.dll",
                                         DataAccessSetup::TestFolder(L"32"), L"ACEOLEDB.DLL"));
                    const std::wstring odbc = s.Library32(L"ACEODBC.DLL");
                    s.Driver(KEY_WOW64_32KEY, kAceDriver, odbc, L"*.mdb,*.accdb");
                    s.Driver(KEY_WOW64_32KEY, kExcelDriver, odbc, L"*.xls,*.xlsx,*.xlsm,*.xlsb");
                    // A 32-bit file named in the 64-bit view.
                    s.Provider(KEY_WOW64_64KEY, L"Microsoft.Jet.OLEDB.4.0", kJetClsid,
                               L"C:\\QuendryTest\\32\\msjetoledb40.dll");
                },
            .Lines32 = {"  .mdb through OLE DB: yes, Microsoft.Jet.OLEDB.4.0 " + kCreated,
                        "  .xlsx through OLE DB: yes, Microsoft.ACE.OLEDB.16.0 " + kCreated,
                        "  .xlsx through ODBC: yes, Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, "
                        "*.xlsb) (registered, file present, 32-bit image; not loaded)"},
            .Lines64 = {"  .mdb through OLE DB: yes, Microsoft.ACE.OLEDB.16.0 " + kChecked64,
                        "  .xls through ODBC: yes, Microsoft Excel Driver (*.xls, *.xlsx, *.xlsm, "
                        "*.xlsb) " +
                            kChecked64},
            .Inventory = {"  OLE DB Microsoft.Jet.OLEDB.4.0: not a library of this bitness: "
                          "C:\\QuendryTest\\32\\msjetoledb40.dll"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// A program named by its path: what it runs as, and with --needs, whether it can open the kind
// of file, by exit code. The machine has Jet for 32-bit programs and the engine for 64-bit ones.
struct ProgramCase {
    const char* Name;
    std::optional<PeShape> Shape = {}; // a program the test writes; none: `Path` as it is
    std::wstring Path = {};
    const wchar_t* Needs = L"mdb";
    DWORD Exit = 0;
    std::string Line = {}; // its answer's second line
};

class ProgramAnswer : public CliTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(ProgramAnswer, ExitCodeSaysWhetherItCanOpenIt) {
    const ProgramCase& c = GetParam();
    DataAccessSetup setup;
    setup.Jet32();
    setup.Ace64();
    const std::wstring path =
        c.Shape ? setup.File(L"programs", c.Path.c_str(), BuildPe(*c.Shape)) : c.Path;
    ASSERT_TRUE(setup.Ok);
    const CliResult r =
        RunCli(L"report --program \"" + path + L"\" --needs " + std::wstring(c.Needs));
    ASSERT_TRUE(r.Started && r.Finished);
    EXPECT_EQ(r.ExitCode, c.Exit) << r.Out;
    EXPECT_NE(Lf(r.Out).find("\n" + c.Line + "\n"), std::string::npos) << r.Out;
    const CliResult json =
        RunCli(L"report --json --program \"" + path + L"\" --needs " + std::wstring(c.Needs));
    ASSERT_TRUE(json.Finished);
    EXPECT_EQ(json.ExitCode, c.Exit) << json.Out;
}

constexpr uint32_t kIlOnly = 0x1, kRequires32 = 0x2, kPrefers32 = 0x20000;

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramAnswer,
    ::testing::Values(
        ProgramCase{.Name = "DotNetAnyCpuRuns64Bit",
                    .Shape = PeShape{.clrFlags = kIlOnly},
                    .Path = L"anycpu.exe",
                    .Needs = L"accdb",
                    .Exit = 0,
                    .Line = "This program runs as 64-bit."},
        ProgramCase{.Name = "DotNetPreferring32BitLacksTheEngine",
                    .Shape = PeShape{.clrFlags = kIlOnly | kRequires32 | kPrefers32},
                    .Path = L"prefers32.exe",
                    .Needs = L"accdb",
                    .Exit = 1,
                    .Line = "This program runs as 32-bit."},
        ProgramCase{.Name = "DotNetPreferring32BitOpensMdbThroughJet",
                    .Shape = PeShape{.clrFlags = kIlOnly | kRequires32 | kPrefers32},
                    .Path = L"prefers32.exe",
                    .Needs = L"mdb",
                    .Exit = 0,
                    .Line = "This program runs as 32-bit."},
        ProgramCase{.Name = "Native64Bit",
                    .Shape = PeShape{.machine = 0x8664, .pe32Plus = true},
                    .Path = L"native64.exe",
                    .Needs = L"xlsx",
                    .Exit = 0,
                    .Line = "This program runs as 64-bit."},
        ProgramCase{.Name = "System32NotepadIs64Bit",
                    .Path = L"C:\\windows\\system32\\notepad.exe",
                    .Needs = L"xlsx",
                    .Exit = 0,
                    .Line = "This program runs as 64-bit."},
        ProgramCase{.Name = "SysWow64NotepadIs32Bit",
                    .Path = L"C:\\windows\\syswow64\\notepad.exe",
                    .Needs = L"xlsx",
                    .Exit = 1,
                    .Line = "This program runs as 32-bit."},
        ProgramCase{.Name = "NoProgramThere",
                    .Path = L"C:\\QuendryTest\\none.exe",
                    .Needs = L"mdb",
                    .Exit = 2,
                    .Line = "There is no file at C:\\QuendryTest\\none.exe."},
        ProgramCase{.Name = "ALibraryIsNoProgram",
                    .Shape = PeShape{.dll = true},
                    .Path = L"library.dll",
                    .Needs = L"mdb",
                    .Exit = 2,
                    .Line = "C:\\QuendryTest\\programs\\library.dll is a library, not a program: "
                            "name the program that loads it."}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
