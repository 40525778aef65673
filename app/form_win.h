#pragma once
// The real main window: child windows made from the control table that render the wizard's view
// state (IForm), its events passed to the wizard through IFormEvents. A page and its controls are
// made from the state the first time the page comes to the front; the form keeps nothing of a
// control but its window and the fonts it draws with.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "form.h"
#include "form_events.h"

class WinForm : public IForm {
public:
    WinForm() = default;
    ~WinForm() override;
    WinForm(const WinForm&) = delete;
    WinForm& operator=(const WinForm&) = delete;

    // Creates the window and its button bar, hidden, for `dpi` pixels per inch (0: the screen's),
    // showing `view`, the state it renders from now on (its owner keeps it). False when the window
    // can't be made.
    bool Create(HINSTANCE instance, IFormEvents& events, const ViewState& view, int dpi = 0);
    void Show(int nCmdShow);
    // Runs the message loop until the window is gone; returns the exit code.
    int Run();

    // Runs when the session ends, before the window goes: the process may end right after.
    std::function<void()> BeforeSessionEnds;

    // IForm
    WindowHandle Hwnd() const override;
    WindowHandle ControlHwnd(ControlId id) const override;
    void Apply(const ViewState& view, ControlId id, Aspect what) override;
    void RaiseWindow() override;
    void MsgBox(const std::string& text, const std::string& title, MessageBoxIcon icon) override;
    void Refresh() override;
    void DoEvents() override;
    void Unload() override;
    bool Unloading() const override { return m_unloadPending || !m_hwnd; }
    void SetBusyReason(const std::string& reason) override;

private:
    struct Font {
        std::wstring Face;
        double Size = 8.25;
        bool Bold = false, Underline = false;
        bool operator<(const Font& o) const;
    };

    static LRESULT CALLBACK MainProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
    // The close request of `unloadMode`; the window goes unless the wizard keeps it.
    void RequestClose(int unloadMode);
    // Hands one message of the queue to its window, as a dialog's keys ask.
    void Deliver(MSG& msg);
    void ReportPointerOverControl(const MSG& msg);
    bool PressFocusedButton(const MSG& msg);
    LRESULT HandleMain(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandlePage(HWND, UINT, WPARAM, LPARAM);
    LRESULT ColorStatic(HWND page, HDC dc, HWND control);
    void PaintPage(HWND page);
    void PaintMain();

    // Runs one event handler of the wizard; an unload asked for inside it happens when the
    // outermost handler has returned.
    template <typename F> void Dispatch(F&& handler);
    // After the outermost handler: the focus leaves a control that was disabled or hidden.
    void KeepFocusUsable();

    bool CreateControl(const ControlSpec& entry);
    // Makes the controls of a page that has not been made yet.
    void MakePage(ControlId page);
    // Puts the page in front, making it first if need be; the pages behind it are hidden.
    void ShowPage(ControlId page);
    void ShowPointer();
    void RunTimer(ControlId id);
    // Orders the made children of `parent`: pictures by whether they lie inside a text, then what
    // the user works and the links on top.
    void Arrange(ControlId parent);
    // The font the control's record asks for; false for a control drawn with the system's.
    bool FontOf(ControlId id, Font& font) const;
    // The control is drawn with the font its record asks for; false when it already was.
    bool ApplyFont(ControlId id);
    void AutoSize(ControlId id);
    // The rectangle a label's text takes as the label draws it, in the label's client
    // coordinates; empty for no text.
    RECT TextRect(ControlId label) const;
    // A link lies above the texts of its page; where a text reaches into it (a wider face than
    // the one the page was laid out for makes more lines), the link moves down below the text.
    void KeepLinksClear(ControlId page);
    // The highest top, from `mine`'s own, at which a box like `mine` lies clear of every text of
    // the page (page coordinates, pixels).
    int TopClearOfTexts(ControlId page, RECT mine) const;
    // The page's wrapped texts reach to the right edge of its title.
    void WidenTexts(ControlId page);
    // A label's text, face, place or visibility changed: the links of its page keep clear.
    void LayoutChanged(ControlId id);
    // The list shows the state's rows, in the state's order.
    void ShowRows(ControlId id);
    const ControlState& State(ControlId id) const { return m_view->at(id); }
    int Px(int twips) const;
    // The control's window; none for a timer, and for a control whose page is not made yet.
    HWND Wnd(ControlId id) const;

    HINSTANCE m_instance = nullptr;
    IFormEvents* m_events = nullptr;
    HWND m_hwnd = nullptr;
    int m_dpi = 96;
    // What the window shows, kept by the wizard; the windows render it.
    const ViewState* m_view = nullptr;
    std::map<ControlId, HWND> m_windows;
    std::map<Font, HFONT> m_fonts;
    HBRUSH m_white = nullptr;
    // Self-sizing labels are measured here: a window's own DC costs Wine a round trip each time.
    HDC m_measure = nullptr;
    HIMAGELIST m_images = nullptr;
    int m_depth = 0;
    bool m_unloadPending = false;
    bool m_activated = false;
};
