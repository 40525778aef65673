#pragma once
// The main window as the wizard's logic drives it: a renderer of the view state the wizard owns,
// plus what is not state (the window's handles, raising it, message boxes, painting now, pending
// events, unloading).
#include <string>

#include "controls.h"
#include "system_api.h"
#include "view_state.h"

enum class MessageBoxIcon { None, Information, Warning };

class IForm {
public:
    virtual ~IForm() = default;

    virtual WindowHandle Hwnd() const = 0;
    virtual WindowHandle ControlHwnd(ControlId id) const = 0;

    // Makes the windows show `what` of `view`: of control `id`'s record, or the view's own page in
    // front (`id` the page), focus (`id` the control) or pointer. A control whose page is not made
    // yet shows its record when the page is made. May raise, as a failing statement would; the
    // wizard then keeps its state as it was.
    virtual void Apply(const ViewState& view, ControlId id, Aspect what) = 0;

    // Puts the window itself at the top of the z-order.
    virtual void RaiseWindow() = 0;
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
