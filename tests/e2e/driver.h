#pragma once
// Drives the real Quendry.exe from another process, as a user (or a screen reader) would: finds
// its window, reads control texts, states and z-order, presses buttons and reads the file list.
// Every message to the program goes through SendMessageTimeout so a hung program fails the test
// instead of hanging it.
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/controls.h"
#include "text/language.h"

struct LaunchOptions {
    std::string Lang = "en_US.UTF-8";         // the Unix locale Wine takes the user's language from
    std::map<std::wstring, std::wstring> Env; // further variables for the program
    std::wstring Program; // the program file; empty: Quendry.exe beside the test
    // Where set, the program is created suspended and this runs before its first instruction.
    std::function<void()> BeforeFirstInstruction;
};

class QuendryProcess {
public:
    QuendryProcess() = default;
    ~QuendryProcess();
    QuendryProcess(const QuendryProcess&) = delete;
    QuendryProcess& operator=(const QuendryProcess&) = delete;

    // Starts the program and waits until its window shows the welcome page.
    bool Start(const LaunchOptions& options = {});
    bool Running() const;
    // Waits for the process to end; true when it did within the time.
    bool WaitForExit(std::chrono::milliseconds timeout);
    void Kill();

    HWND Window() const { return m_window; }
    HWND Control(ControlId id) const;
    std::string Text(ControlId id) const;
    bool Visible(ControlId id) const; // the control's own visibility flag
    bool Enabled(ControlId id) const;
    RECT Rect(ControlId id) const; // in the coordinates of the control's parent
    ControlId TopPage() const;
    // Presses a button as a click would (the window's own click handling runs).
    void Click(ControlId id) const;
    // Sends the close command, as the close box does.
    void CloseBox() const;
    // Sends a bare WM_CLOSE, as another program (Task Manager's End Task) does.
    void CloseByOtherProgram() const;
    int ListCount(ControlId id) const;
    std::vector<std::string> ListRow(ControlId id, int index) const;
    int ListImage(ControlId id, int index) const;

    // The control that has the keyboard focus in the program (null when none of its own).
    HWND Focus() const;
    // Presses Tab until `id` has the focus, at most `tries` times; true when it got there.
    bool TabTo(ControlId id, int tries = 12) const;

    // Polls until the condition holds or the time runs out.
    bool WaitFor(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_window = nullptr;
    // Controls found so far: a control keeps its window once made, and a walk over every child
    // window for each look costs Wine a server call per child.
    mutable std::map<int, HWND> m_controls;
};

// The language this run expects: German when the test was started in a German locale (LANG),
// English otherwise. The program under test inherits that locale.
Language LanguageOfThisRun();

// The folder of the running test program (Quendry.exe and the fixtures lie beside it).
std::wstring ExeFolder();
std::string Utf8(const std::wstring& s);
std::wstring Wide(const std::string& s);

// Registry settings Wine reads when a program starts.
void SetWineWindowsVersion(const wchar_t* exeName, const wchar_t* version); // nullptr: remove
void SetScreenDpi(DWORD dpi);                                               // 0: remove

// Real input, as the user's hand gives it. Unlike messages sent to a control, Wine's key state
// (GetAsyncKeyState) sees it. Points are in screen coordinates.
POINT ScreenCenter(const QuendryProcess& q, ControlId id);
// The middle of the visible part of a list column's header item.
POINT ColumnHeaderPoint(const QuendryProcess& q, ControlId list, int column);
void MouseDown(POINT screen);
void MouseUp(POINT screen);
// Press and release, the button held down for `hold` in between.
void MouseClick(POINT screen, std::chrono::milliseconds hold = std::chrono::milliseconds(0));
// With `modifier` (VK_CONTROL, VK_MENU) held down around it.
void KeyPress(WORD virtualKey, WORD modifier = 0);

// Lets the program's windows go unmanaged by Wine's X11 driver. Under a display without a window
// manager (Xvfb) Wine otherwise waits two seconds for a manager that never comes each time a
// window is hidden, and so at every normal end of the program.
void SetWineUnmanagedWindows(const wchar_t* exeName, bool unmanaged); // false: remove

// The message box the program shows, if any: a top-level dialog window ("#32770") of its process.
HWND FindMessageBox(const QuendryProcess& q);
// A message box's message: the longest text among its static controls (the other one holds the
// icon).
std::string MessageBoxText(HWND box);
std::string WindowCaption(HWND hwnd);
// Presses the box's OK button.
void PressMessageBoxOk(HWND box);

// Moves the real pointer to a point on the screen, as the mouse does.
void MovePointer(POINT screen);
// The pointer shape shown now. Under Wine a pointer handle belongs to the process that loaded it,
// so shapes are compared with those seen before, not with a shape loaded here.
HCURSOR CurrentPointer();
// Whether a label's text is drawn underlined on the screen: a row of its text colour runs across
// most of the label's width.
bool LooksUnderlined(const QuendryProcess& q, ControlId label, COLORREF textColour);
