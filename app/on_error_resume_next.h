#pragma once
// Runs one step of a routine whose failing steps are skipped: whatever the step raises ends that
// step only, and the caller goes on with the next one.
#include <exception>

template <typename Step> void OnErrorResumeNext(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}
