#include "bench/inventory_bench_win.h"

#include <windows.h>

#include <vector>

#include "bitness/file_probe_win.h"
#include "bitness/inventory_reader.h"
#include "bitness/machine_facts_win.h"
#include "registry/registry_api_win.h"

std::optional<Measured> MeasureInventory(size_t runs) {
    LARGE_INTEGER frequency = {};
    if (runs == 0 || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart == 0)
        return std::nullopt;
    Win32RegistryApi registry;
    WinMachineFacts machine;
    WinFileProbe files;
    const bool windows64 = machine.IsWindows64();
    const std::string account = machine.UserAccount();
    ReadInventory(registry, files, windows64, account);
    std::vector<double> ms;
    for (size_t run = 0; run < runs; ++run) {
        LARGE_INTEGER start = {}, end = {};
        QueryPerformanceCounter(&start);
        const Inventory inventory = ReadInventory(registry, files, windows64, account);
        QueryPerformanceCounter(&end);
        if (inventory.Views.empty())
            return std::nullopt;
        ms.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 /
                     static_cast<double>(frequency.QuadPart));
    }
    return Measured{.Value = Median(ms), .Baseline = 0, .Runs = runs};
}
