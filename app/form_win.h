#pragma once
// The real main window: child windows made from the control table, driven through IForm, its
// events passed to the wizard through IFormEvents. A page and its controls are made the first time
// the page comes to the front; until then what the wizard sets on them is kept and answered from,
// and given to them when they are made.
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

    // Creates the window and every control, hidden, for `dpi` pixels per inch (0: the screen's).
    // False when the window can't be made.
    bool Create(HINSTANCE instance, IFormEvents& events, int dpi = 0);
    void Show(int nCmdShow);
    // Runs the message loop until the window is gone; returns the exit code.
    int Run();

    // Runs when the session ends, before the window goes: the process may end right after.
    std::function<void()> BeforeSessionEnds;

    // IForm
    WindowHandle Hwnd() const override;
    WindowHandle ControlHwnd(ControlId id) const override;
    void SetCaption(ControlId id, const std::string& text) override;
    std::string Caption(ControlId id) const override;
    void SetVisible(ControlId id, bool visible) override;
    bool Visible(ControlId id) const override;
    void SetEnabled(ControlId id, bool enabled) override;
    bool Enabled(ControlId id) const override;
    void SetTop(ControlId id, int twips) override;
    void SetLeft(ControlId id, int twips) override;
    int Top(ControlId id) const override;
    int Left(ControlId id) const override;
    void SetFontName(ControlId id, const std::string& face) override;
    void SetUnderline(ControlId id, bool underline) override;
    bool Underline(ControlId id) const override;
    void BringToFront(ControlId id) override;
    ControlId TopPage() const override;
    void RaiseWindow() override;
    void SetFocus(ControlId id) override;
    bool OptionValue(ControlId id) const override;
    void ListClear(ControlId id) override;
    void ListAddRow(ControlId id, const ListRow& row) override;
    int ListCount(ControlId id) const override;
    ListRow ListRowAt(ControlId id, int index) const override;
    void ListSetSortKey(ControlId id, int column) override;
    void ListSetSorted(ControlId id, bool sorted) override;
    uint32_t ListExtendedStyle(ControlId id) const override;
    void SetListExtendedStyle(ControlId id, uint32_t style) override;
    void SetProgressMax(ControlId id, int max) override;
    void SetProgressValue(ControlId id, int value) override;
    void SetTimerInterval(ControlId id, uint32_t ms) override;
    void SetTimerEnabled(ControlId id, bool enabled) override;
    bool TimerEnabled(ControlId id) const override;
    void SetMousePointer(MousePointer pointer) override;
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
    struct Control {
        HWND Hwnd = nullptr; // none for a timer, and for a control whose page is not made yet
        Font Font;
        bool HasFont = false;
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

    // Takes a control's state from its row, for a control made now or later.
    void Keep(const ControlSpec& entry);
    bool CreateControl(const ControlSpec& entry);
    // Makes the controls of a page that has not been made yet.
    void MakePage(ControlId page);
    // Orders the made children of `parent`: pictures by whether they lie inside a text, then what
    // the user works and the links on top.
    void Arrange(ControlId parent);
    void ApplyFont(ControlId id);
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
    // Puts a made control where its state says.
    void Place(ControlId id);
    // The user chose an option: it is the chosen one of its page's options.
    void ChooseOption(ControlId id);
    void SortList(ControlId id);
    // Adds a row at the end of the made list.
    void InsertRow(HWND list, const ListRow& row);
    int Px(int twips) const;
    Control* Find(ControlId id);
    const Control* Find(ControlId id) const;
    HWND Wnd(ControlId id) const;

    HINSTANCE m_instance = nullptr;
    IFormEvents* m_events = nullptr;
    HWND m_hwnd = nullptr;
    int m_dpi = 96;
    // What the window shows, kept once; the windows render it.
    ViewState m_view;
    std::map<ControlId, Control> m_controls;
    std::map<Font, HFONT> m_fonts;
    HBRUSH m_white = nullptr;
    // Self-sizing labels are measured here: a window's own DC costs Wine a round trip each time.
    HDC m_measure = nullptr;
    HIMAGELIST m_images = nullptr;
    MousePointer m_pointer = MousePointer::Default;
    int m_depth = 0;
    bool m_unloadPending = false;
    bool m_activated = false;
    std::vector<ControlId> m_madePages;
    int m_sortKey = 0;
    bool m_sorted = false;
};
