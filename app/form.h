#pragma once
// The main window's controls as the wizard's logic drives them, addressed by control id. The Win32
// form carries each call out on a real child window; the recording form in tests keeps the state.
#include <cstdint>
#include <string>

#include "controls.h"
#include "system_api.h"
#include "view_state.h"

enum class MousePointer { Default, Hourglass };

enum class MessageBoxIcon { None, Information, Warning };

class IForm {
public:
    virtual ~IForm() = default;

    virtual WindowHandle Hwnd() const = 0;
    virtual WindowHandle ControlHwnd(ControlId id) const = 0;

    virtual void SetCaption(ControlId id, const std::string& text) = 0;
    virtual std::string Caption(ControlId id) const = 0;
    virtual void SetVisible(ControlId id, bool visible) = 0;
    virtual bool Visible(ControlId id) const = 0;
    virtual void SetEnabled(ControlId id, bool enabled) = 0;
    virtual bool Enabled(ControlId id) const = 0;
    virtual void SetTop(ControlId id, int twips) = 0;
    virtual void SetLeft(ControlId id, int twips) = 0;
    virtual int Top(ControlId id) const = 0;
    virtual int Left(ControlId id) const = 0;
    virtual void SetFontName(ControlId id, const std::string& face) = 0;
    virtual void SetUnderline(ControlId id, bool underline) = 0;
    virtual bool Underline(ControlId id) const = 0;

    // Puts a control at the top of the z-order of its siblings (z-order position 0).
    virtual void BringToFront(ControlId id) = 0;
    // The control at the top of the z-order among the page panels.
    virtual ControlId TopPage() const = 0;
    // Puts the window itself at the top of the z-order.
    virtual void RaiseWindow() = 0;
    virtual void SetFocus(ControlId id) = 0;
    virtual bool OptionValue(ControlId id) const = 0;

    virtual void ListClear(ControlId id) = 0;
    virtual void ListAddRow(ControlId id, const ListRow& row) = 0;
    virtual int ListCount(ControlId id) const = 0;
    virtual ListRow ListRowAt(ControlId id, int index) const = 0;
    virtual void ListSetSortKey(ControlId id, int column) = 0;
    virtual void ListSetSorted(ControlId id, bool sorted) = 0;
    virtual uint32_t ListExtendedStyle(ControlId id) const = 0;
    virtual void SetListExtendedStyle(ControlId id, uint32_t style) = 0;

    virtual void SetProgressMax(ControlId id, int max) = 0;
    virtual void SetProgressValue(ControlId id, int value) = 0;

    virtual void SetTimerInterval(ControlId id, uint32_t ms) = 0;
    virtual void SetTimerEnabled(ControlId id, bool enabled) = 0;
    virtual bool TimerEnabled(ControlId id) const = 0;

    virtual void SetMousePointer(MousePointer pointer) = 0;
    virtual void MsgBox(const std::string& text, const std::string& title, MessageBoxIcon icon) = 0;
    // Repaints the window now.
    virtual void Refresh() = 0;
    // Lets pending window events run once (their handlers may run before this returns).
    virtual void DoEvents() = 0;
    // Destroys the window once no handler of it is running any more; the program then ends.
    virtual void Unload() = 0;
    // Whether the window goes: Unload was asked for (by the wizard, or because another program or
    // the end of the session closes it).
    virtual bool Unloading() const = 0;
    // What the program is doing that the end of the session has to wait for, as Windows shows it
    // while it waits; empty: nothing.
    virtual void SetBusyReason(const std::string& reason) = 0;
};
