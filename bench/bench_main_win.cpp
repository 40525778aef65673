// The benchmarks of `make bench`: start-up, audit, repair, footprint and the console report, each
// set against a baseline measured in the same run. The table goes to the standard output, the
// progress to the standard error. Quendry.exe, minimal_win.exe, quendry-cli.exe (when built) and
// the fixtures lie beside this program.
//
//   quendry_bench [--rounds N] [--startup-runs N] [--audit-rounds N] [--repair-runs N]
//                 [--product PATH]
//
// Each figure is measured in --rounds (3) rounds of its runs: a machine shared with others is
// slower at times, and the range over the rounds shows by how much.
// --product names the product's (i686) Quendry.exe, whose size and imports are reported too.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "bench/audit_bench_win.h"
#include "bench/bench_figures.h"
#include "bench/inventory_bench_win.h"
#include "bench/pe_imports.h"
#include "bench/process_timing_win.h"
#include "bench/repair_bench_win.h"
#include "fixtures/layout.h"
#include "tests/e2e/driver.h"

namespace {

struct Options {
    size_t Rounds = 3;
    size_t StartupRuns = 9;
    size_t AuditRounds = 21;
    size_t RepairRuns = 3;
    size_t CliRuns = 9;
    size_t InventoryRuns = 21;
    std::wstring Product;
};

void Progress(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes;
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file, &size) && size.QuadPart < (1LL << 30)) {
        std::vector<uint8_t> data(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (data.empty() ||
            (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
             read == data.size()))
            bytes = std::move(data);
    }
    CloseHandle(file);
    return bytes;
}

// Size and imports of one executable; an import counts as a system library when the system
// directory holds a library of that name. (Wine's 32-bit system directory is empty where it runs
// no 32-bit code; the names are the same in both.)
ExecutableFile Inspect(const std::string& label, const std::wstring& path, BenchFigures& figures) {
    ExecutableFile exe;
    exe.Label = label;
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return exe;
    exe.Bytes = bytes->size();
    const auto imports = ImportedLibraries(*bytes);
    if (!imports) {
        figures.Notes.push_back("the import table of " + Utf8(path) + " could not be read");
        exe.NotSystem.push_back("<unreadable>");
        return exe;
    }
    exe.Imports = *imports;
    wchar_t dir[MAX_PATH] = {};
    GetSystemDirectoryW(dir, MAX_PATH);
    for (const auto& name : exe.Imports)
        if (!Exists(std::wstring(dir) + L"\\" + Wide(name)))
            exe.NotSystem.push_back(name);
    return exe;
}

void MeasureStartups(const Options& o, BenchFigures& f) {
    const std::wstring quendry = ExeFolder() + L"\\Quendry.exe";
    const std::wstring minimal = ExeFolder() + L"\\minimal_win.exe";
    // Once each first, so that neither pays alone for loading Wine's libraries from the disk.
    MeasureStartup(minimal, FirstPage::MinimalLabel);
    MeasureStartup(quendry, FirstPage::QuendryWelcome);
    std::vector<double> q, m, qPeak, mPeak;
    for (size_t run = 0; run < o.StartupRuns; ++run) {
        std::optional<StartupSample> a, b;
        if (run % 2) {
            b = MeasureStartup(minimal, FirstPage::MinimalLabel);
            a = MeasureStartup(quendry, FirstPage::QuendryWelcome);
        } else {
            a = MeasureStartup(quendry, FirstPage::QuendryWelcome);
            b = MeasureStartup(minimal, FirstPage::MinimalLabel);
        }
        if (!a || !b) {
            f.Notes.push_back(std::string(a ? "the minimal program's" : "Quendry's") +
                              " first page did not come up");
            return;
        }
        q.push_back(a->Ms);
        m.push_back(b->Ms);
        qPeak.push_back(static_cast<double>(a->PeakWorkingSet));
        mPeak.push_back(static_cast<double>(b->PeakWorkingSet));
        Progress("  start-up %zu: Quendry %.1f ms, minimal %.1f ms", run + 1, a->Ms, b->Ms);
    }
    f.Startup = FromPairs(q, m);
    if (Median(mPeak) > 0)
        f.PeakWorkingSet = FromPairs(qPeak, mPeak);
    else
        f.Notes.push_back("the system reported no working set for the programs");
}

void MeasureRepair(const Options& o, BenchFigures& f, std::vector<RepairRun>& runs) {
    std::vector<double> ms;
    for (size_t run = 0; run < o.RepairRuns; ++run) {
        std::string failure;
        const auto measured = MeasureRepairRun(failure);
        if (!measured) {
            f.Notes.push_back("repair: " + failure);
            return;
        }
        runs.push_back(*measured);
        ms.push_back(measured->Ms);
        Progress("  repair %zu: %.0f ms", run + 1, measured->Ms);
    }
    f.Repair = Measured{Median(ms), kRepairPausesMs, o.RepairRuns};
}

void MeasureCli(const Options& o, BenchFigures& f) {
    const std::wstring cli = ExeFolder() + L"\\quendry-cli.exe";
    f.CliBuilt = Exists(cli);
    if (!f.CliBuilt)
        return;
    const std::wstring minimal = ExeFolder() + L"\\minimal_win.exe";
    MeasureRunToExit(cli, L"report");
    std::vector<double> runs, baselines;
    for (size_t run = 0; run < o.CliRuns; ++run) {
        const auto ms = MeasureRunToExit(cli, L"report");
        const auto baseline = MeasureStartup(minimal, FirstPage::MinimalLabel);
        if (!ms || !baseline) {
            f.Notes.push_back(ms ? "console report: the minimal program's page did not come up"
                                 : "console report: quendry-cli report did not end within 60 s");
            return;
        }
        runs.push_back(*ms);
        baselines.push_back(baseline->Ms);
    }
    f.CliReport = FromPairs(runs, baselines);
}

bool ParseOptions(int argc, wchar_t** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (i + 1 >= argc)
            return false;
        const wchar_t* v = argv[++i];
        const size_t n = static_cast<size_t>(std::wcstoul(v, nullptr, 10));
        if (a == L"--rounds" && n > 0)
            o.Rounds = n;
        else if (a == L"--startup-runs" && n > 0)
            o.StartupRuns = n;
        else if (a == L"--audit-rounds" && n > 0)
            o.AuditRounds = n;
        else if (a == L"--repair-runs" && n > 0)
            o.RepairRuns = n;
        else if (a == L"--product")
            o.Product = v;
        else
            return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: quendry_bench [--rounds N] [--startup-runs N] "
                             "[--audit-rounds N] [--repair-runs N] [--product PATH]\n");
        return 2;
    }
    BenchFigures f;
    f.Build = sizeof(void*) == 8 ? "x86_64 twin (Wine runs no 32-bit code on this machine)"
                                 : "i686 product";
    f.Executables.push_back(Inspect(sizeof(void*) == 8 ? "x86_64 twin" : "i686 product",
                                    ExeFolder() + L"\\Quendry.exe", f));
    if (!o.Product.empty())
        f.Executables.push_back(Inspect("i686 product", o.Product, f));

    // As in the end-to-end tests: without a window manager (Xvfb) Wine would wait for one that
    // never comes whenever a managed window hides, and takes real pointer input more readily on
    // unmanaged windows. Both programs run alike.
    for (const wchar_t* exe : {L"Quendry.exe", L"minimal_win.exe"})
        SetWineUnmanagedWindows(exe, true);
    try {
        Progress("laying out the 31 fixture libraries");
        fixtures::ApplyLayout(
            fixtures::AllAt("2.81.1117.0", "4.0.8015.0").WithFullInstallVer("2.81.1117.0"));
    } catch (const std::exception& e) {
        f.Notes.push_back(std::string("the system could not be laid out: ") + e.what());
    }

    std::vector<BenchFigures> rounds(o.Rounds);
    std::vector<RepairRun> repairRuns;
    for (size_t r = 0; r < o.Rounds; ++r) {
        BenchFigures& round = rounds[r];
        Progress("round %zu of %zu", r + 1, o.Rounds);
        Progress("start-up: %zu runs each, alternating", o.StartupRuns);
        MeasureStartups(o, round);
        Progress("audit: %zu rounds", o.AuditRounds);
        std::string failure;
        round.Audit = MeasureAudit(o.AuditRounds, failure);
        if (!failure.empty())
            round.Notes.push_back("audit: " + failure);
        Progress("repair: %zu runs", o.RepairRuns);
        MeasureRepair(o, round, repairRuns);
        Progress("console report");
        MeasureCli(o, round);
        Progress("data-access inventory: %zu reads", o.InventoryRuns);
        round.Inventory = MeasureInventory(o.InventoryRuns);
        for (const auto& note : round.Notes)
            f.Notes.push_back("round " + std::to_string(r + 1) + ": " + note);
    }
    const auto across = [&](std::optional<Measured> BenchFigures::*figure) {
        std::vector<std::optional<Measured>> each;
        for (const auto& round : rounds)
            each.push_back(round.*figure);
        return FromRounds(each);
    };
    f.Startup = across(&BenchFigures::Startup);
    f.PeakWorkingSet = across(&BenchFigures::PeakWorkingSet);
    f.Audit = across(&BenchFigures::Audit);
    f.Repair = across(&BenchFigures::Repair);
    f.CliReport = across(&BenchFigures::CliReport);
    f.Inventory = across(&BenchFigures::Inventory);
    f.CliBuilt = rounds.front().CliBuilt;
    if (f.Repair)
        f.Details.push_back(RepairBreakdown(repairRuns));

    for (const wchar_t* exe : {L"Quendry.exe", L"minimal_win.exe"})
        SetWineUnmanagedWindows(exe, false);
    try {
        fixtures::ApplyLayout(fixtures::WineFresh());
    } catch (const std::exception& e) {
        f.Notes.push_back(std::string("the prefix's own files could not be put back: ") + e.what());
    }
    std::fputs(FormatTable(f).c_str(), stdout);
    return f.Notes.empty() ? 0 : 1;
}
