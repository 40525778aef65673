#include "bench/repair_bench_win.h"

#include <chrono>
#include <cstdio>

#include "bench/bench_figures.h"
#include "bench/process_timing_win.h"
#include "repair/component_table.h"
#include "tests/e2e/driver.h"

using C = ControlId;

namespace {

constexpr double kEntryPausesMs = 200;
constexpr DWORD kReadingMs = 1000;

// A control's text as the system keeps it, read without sending the program a message.
std::wstring TextNow(HWND hwnd) {
    wchar_t buf[1024] = {};
    const int n = GetWindowTextW(hwnd, buf, 1024);
    return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

} // namespace

std::optional<RepairRun> MeasureRepairRun(std::string& failure) {
    QuendryProcess q;
    if (!q.Start()) {
        failure = "the welcome page did not come up";
        return std::nullopt;
    }
    q.Click(C::cmdWeiter);
    if (!q.WaitFor([&] { return q.TopPage() == C::pic2; })) {
        failure = "Next did not lead to the version page";
        return std::nullopt;
    }
    q.Click(C::cmdWeiter);
    if (!q.WaitFor([&] { return q.TopPage() == C::pic3 && q.Visible(C::cmdRepairMDAC); })) {
        failure = "Next did not lead to the repair page";
        return std::nullopt;
    }
    // A user reads the page before pressing the button; the wizard starts the registration host
    // meanwhile, as it does then.
    Sleep(kReadingMs);
    // Pressed with the real mouse, as the user does: the press also ends the page's watch for the
    // first key or mouse button, which a posted click would leave ticking through the run. The
    // button is held a moment so that the watch sees it; the run starts when it is let go. The
    // line and the question are read without sending the program messages, which would wait for
    // its loop to let them in.
    HWND line = q.Control(C::Label2);
    const std::wstring before = TextNow(line);
    const POINT button = ScreenCenter(q, C::cmdRepairMDAC);
    MouseDown(button);
    Sleep(100);
    const double start = NowMs();
    MouseUp(button);
    std::vector<double> changes;
    std::wstring last = before;
    while (!q.Visible(C::Label16)) {
        if (!q.Running() || NowMs() - start > 60000) {
            failure = q.Running() ? "the run did not end within 60 s" : "the program ended";
            return std::nullopt;
        }
        if (changes.empty() && NowMs() - start > 5000) {
            failure = "the repair button did not take the click";
            return std::nullopt;
        }
        const std::wstring now = TextNow(line);
        if (now != last) {
            changes.push_back(NowMs());
            last = now;
        }
        Sleep(1);
    }
    RepairRun run;
    const double end = NowMs();
    run.Ms = end - start;
    // The line names the providers in their check after the last entry: the first of those
    // changes ends the last entry, else the ready state does.
    if (changes.size() > kComponentCount)
        changes.resize(kComponentCount + 1);
    else if (changes.size() == kComponentCount)
        changes.push_back(end);
    if (changes.size() == kComponentCount + 1) {
        for (size_t i = 0; i < kComponentCount; ++i)
            run.EntryMs.push_back(changes[i + 1] - changes[i]);
    }
    if (HWND box = FindMessageBox(q)) {
        failure = "the run ended with a message: " + MessageBoxText(box);
        return std::nullopt;
    }
    return run;
}

std::string RepairBreakdown(const std::vector<RepairRun>& runs) {
    std::vector<double> first, registered, skipped;
    for (const auto& run : runs) {
        if (run.EntryMs.size() != kComponentCount)
            continue;
        for (size_t i = 0; i < kComponentCount; ++i) {
            const double beyond = run.EntryMs[i] - kEntryPausesMs;
            if (i == 0)
                first.push_back(beyond);
            else if (kComponentRows[i].bNoRegister)
                skipped.push_back(beyond);
            else
                registered.push_back(beyond);
        }
    }
    if (first.empty())
        return "repair breakdown: the per-file line's changes could not all be seen";
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "repair breakdown, beyond the 200 ms of pauses per entry (medians): first "
                  "entry %+.0f ms, other registered entries %+.1f ms each, entries that register "
                  "nothing %+.1f ms each",
                  Median(first), Median(registered), Median(skipped));
    return buf;
}
