// quendry-cli.exe on laid-out systems: the report says what the wizard shows for the same system
// (its version page sentences and the marks of its file list), the JSON parses and holds every
// library, the repair registers the same 24 libraries and names the failing one's reason, the
// data providers are checked in both, and without administrator rights nothing changes.
#include <gtest/gtest.h>

#include <chrono>

#include "cli/console_text.h"
#include "fixtures/layout.h"
#include "flow_support.h"
#include "repair/component_table.h"
#include "tests/emulation_win.h"
#include "tests/fakes/json_reader.h"
#include "text/string_table.h"

using C = ControlId;

namespace {

constexpr const wchar_t* kCliExe = L"quendry-cli.exe";
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

struct CliResult {
    bool Started = false;
    bool Finished = false;
    DWORD ExitCode = 0;
    std::string Out, Err; // as written, "\r\n" line ends and all
};

std::string ReadAll(HANDLE pipe) {
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0)
        text.append(buffer, n);
    return text;
}

// One pipe read to its end on a thread of its own, so that neither stream fills while the other
// is read.
struct PipeReader {
    HANDLE Pipe;
    std::string Text;
};

DWORD WINAPI ReadPipeToEnd(LPVOID reader) {
    auto* r = static_cast<PipeReader*>(reader);
    r->Text = ReadAll(r->Pipe);
    return 0;
}

// Runs quendry-cli.exe from beside this program with the arguments, both output streams on pipes.
// With `token`, as the user that token stands for (CreateProcessAsUser).
CliResult RunCli(const std::wstring& arguments, HANDLE token = nullptr) {
    CliResult result;
    SECURITY_ATTRIBUTES inherit = {};
    inherit.nLength = sizeof inherit;
    inherit.bInheritHandle = TRUE;
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !CreatePipe(&errRead, &errWrite, &inherit, 0))
        return result;
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

    const std::wstring exe = ExeFolder() + L"\\" + kCliExe;
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi = {};
    result.Started =
        token ? CreateProcessAsUserW(token, exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0,
                                     nullptr, ExeFolder().c_str(), &si, &pi) != FALSE
              : CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               ExeFolder().c_str(), &si, &pi) != FALSE;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (result.Started) {
        PipeReader errors{errRead, {}};
        const LPTHREAD_START_ROUTINE read = ReadPipeToEnd;
        HANDLE thread = CreateThread(nullptr, 0, read, &errors, 0, nullptr);
        if (!thread)
            ReadPipeToEnd(&errors);
        result.Out = ReadAll(outRead);
        if (thread) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        result.Err = errors.Text;
        result.Finished = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
        if (!result.Finished)
            TerminateProcess(pi.hProcess, 99);
        GetExitCodeProcess(pi.hProcess, &result.ExitCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
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
