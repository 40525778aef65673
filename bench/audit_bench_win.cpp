#include "bench/audit_bench_win.h"

#include <windows.h>

#include <vector>

#include "bench/process_timing_win.h"
#include "fixtures/layout.h"
#include "repair/component_table.h"
#include "repair/version_api_win.h"

namespace {

constexpr int kBatch = 10; // builds timed together: one build takes about a millisecond

std::wstring Wide(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// What a program that only wants the numbers would do: the three calls for each file.
unsigned PlainLoop(const std::vector<std::wstring>& paths) {
    unsigned found = 0;
    for (const auto& path : paths) {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
        if (size == 0)
            continue;
        std::vector<BYTE> data(size);
        if (!GetFileVersionInfoW(path.c_str(), handle, size, data.data()))
            continue;
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) && info &&
            length >= sizeof *info)
            found += info->dwFileVersionMS != 0;
    }
    return found;
}

} // namespace

std::optional<Measured> MeasureAudit(size_t rounds, std::string& failure) {
    const std::string commonFiles = fixtures::CommonFilesFolder();
    const std::string systemDir = fixtures::SystemDirectory();
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < kComponentCount; ++i)
        paths.push_back(Wide(fixtures::ComponentPath(i)));
    Win32VersionApi api;

    // Both must see every library, or they would time different work.
    const ComponentTable check =
        BuildComponentTable(api, commonFiles, systemDir, Language::English);
    for (const auto& file : check)
        if (file.sVersion == kVersionNotRead) {
            failure = "the audit found no version in " + file.sFileName;
            return std::nullopt;
        }
    if (PlainLoop(paths) != kComponentCount) {
        failure = "the plain loop did not read every library's version";
        return std::nullopt;
    }

    std::vector<double> table, plain;
    size_t sink = 0;
    for (size_t round = 0; round < rounds; ++round) {
        auto timeTable = [&] {
            const double start = NowMs();
            for (int i = 0; i < kBatch; ++i)
                sink += BuildComponentTable(api, commonFiles, systemDir, Language::English)[0]
                            .sVersion.size();
            table.push_back((NowMs() - start) / kBatch);
        };
        auto timePlain = [&] {
            const double start = NowMs();
            for (int i = 0; i < kBatch; ++i)
                sink += PlainLoop(paths);
            plain.push_back((NowMs() - start) / kBatch);
        };
        // Each goes first in every other round, so that neither always finds the caches warmed
        // by the other.
        if (round % 2) {
            timePlain();
            timeTable();
        } else {
            timeTable();
            timePlain();
        }
    }
    if (sink == 0)
        failure = "nothing was read";
    return FromPairs(table, plain);
}
