#pragma once
// Starting a program and timing it from outside, as the user sees it: from process creation until
// its first page is up, or until it has ended.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

// What the start-up waits for.
enum class FirstPage {
    QuendryWelcome, // the main window visible, the welcome page on top, its heading holding text
    MinimalLabel,   // the minimal program's window visible, its label holding text
};

struct StartupSample {
    double Ms = 0;               // process creation until the page is up and the program idle
    uint64_t PeakWorkingSet = 0; // bytes, read at that moment
};

// Monotonic milliseconds (QueryPerformanceCounter).
double NowMs();

// Starts `exe`, waits until the page is up, then ends the program. nullopt when it wasn't up
// within 30 s. The page counts as up once the condition holds and the program's window thread
// has taken a message sent to it: it has then painted and reached its message loop.
std::optional<StartupSample> MeasureStartup(const std::wstring& exe, FirstPage page);

// Runs `exe` with `arguments`, its output going nowhere, until it ends; nullopt when it could not
// be started or ran longer than 60 s (it is then ended).
std::optional<double> MeasureRunToExit(const std::wstring& exe, const std::wstring& arguments);
