#pragma once
// Shared steps of the tests that walk the wizard: moving between steps, running the repair, the
// screen's pixel density, a test base that puts the system back, and the recorder that stands in
// for the browser.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "driver.h"

// Presses Next or Back and waits until `page` is on top.
[[nodiscard]] bool PressNext(QuendryProcess& q, ControlId page);
[[nodiscard]] bool PressBack(QuendryProcess& q, ControlId page);
// Next on the welcome page, then Next on the version page: the repair page is on top after it.
[[nodiscard]] bool GoToRepairPage(QuendryProcess& q);
// Presses the repair button and waits until the run has ended: the answers shown, Next enabled.
// False also when the window is left disabled under a message (a library failed to register).
[[nodiscard]] bool RunRepair(QuendryProcess& q);
// After a real click on `button`: waits until the program has handled it (the button took the
// focus and let the mouse go, and the click handler has returned). True also when the click
// closed the window.
[[nodiscard]] bool WaitForClickHandled(const QuendryProcess& q, ControlId button);

// The pixel density the program sees: the prefix's LogPixels, 96 when not set.
int ScreenDpi();
int Px(int twips);

// `text` with its "[*]" marker replaced by `value`.
std::string Fill(const std::string& text, const std::string& value);
// `text` with its numbered placeholders "[1:*]", "[2:*]", ... replaced by `values` in turn.
std::string FillNumbered(std::string text, const std::vector<std::string>& values);

// A test that starts the program: its windows go unmanaged for the suite (see
// SetWineUnmanagedWindows), so that each normal end of the program is quick.
class WizardTest : public ::testing::Test {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
};

template <typename P>
class WizardTestWithParam : public WizardTest, public ::testing::WithParamInterface<P> {};

// A test that lays out systems and sets Wine's Windows version: the version goes back after each
// test, the prefix's own files after the suite.
class LaidOutSystemTest : public WizardTest {
public:
    static void TearDownTestSuite();

protected:
    void TearDown() override;
    static void UseWindows(const wchar_t* version); // "winxp", "win2k", "win7"; nullptr: default
};

template <typename P>
class LaidOutSystemTestWithParam : public LaidOutSystemTest,
                                   public ::testing::WithParamInterface<P> {};

// Registers url_recorder.exe as the shell's handler for http and https for its lifetime and puts
// the earlier handlers back afterwards. Wine's shell finds a scheme's handler under
// HKLM\Software\Classes only (not HKCU\Software\Classes); both registry views are set, so a
// 32-bit program under test finds it too. The recorder appends each address it is given as a
// line to a file.
class UrlRecorder {
public:
    UrlRecorder();
    ~UrlRecorder();
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    bool Registered() const { return m_registered; }
    // The addresses opened so far. Complete once no recorder runs (WaitUntilSettled).
    std::vector<std::string> Opened() const;
    // Waits until `count` addresses were recorded and no recorder runs any more; returns all.
    std::vector<std::string> WaitForOpened(size_t count) const;
    // Waits until no recorder program runs: every opening asked for before has been recorded.
    bool WaitUntilSettled() const;

private:
    struct Saved {
        std::wstring Scheme;
        REGSAM View;
        bool SchemeExisted;
        bool HadCommand;
        std::wstring Command;
    };
    std::wstring m_record;
    std::vector<Saved> m_saved;
    bool m_registered = false;
};
