#pragma once
// A form that renders the wizard's view state in memory: what each call applies is what its
// "windows" show, and the answers below read that. It records the calls that have an order worth
// checking (visibility, enabled state, z-order, focus, pointer, progress, timers, message boxes,
// events, unload) and can fail any chosen call.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form.h"

class RecordingForm : public IForm {
public:
    struct Box {
        std::string Text, Title;
        MessageBoxIcon Icon;
    };

    std::vector<std::string> Log; // calls in order, as "Name(args)"
    std::vector<Box> MessageBoxes;
    ControlId Focus = ControlId::frmMain;
    MousePointer Pointer = MousePointer::Default;
    bool Unloaded = false;
    std::string BusyReason;
    int Refreshes = 0, Raises = 0;
    std::function<void()> OnDoEvents; // what "pending events" run, if anything
    int DoEventsCalls = 0;
    // Makes the next call of the named operation ("Set" and the aspect's name, "BringToFront",
    // "SetFocus", "SetMousePointer") on the control raise, as a failing statement would.
    std::map<std::pair<std::string, ControlId>, bool> FailOnce;
    // Fault injection: every call of the form counts, from 1, and the call numbered FailCallNumber
    // raises, as a failing statement of the toolkit would (0: none). FailedCall names it.
    mutable size_t CallNumber = 0;
    size_t FailCallNumber = 0;
    mutable std::string FailedCall;

    // What the "windows" show.
    const ControlState& at(ControlId id) const { return m_shown.at(id); }
    std::string Caption(ControlId id) const { return at(id).Caption; }
    bool Visible(ControlId id) const { return at(id).Visible; }
    bool Enabled(ControlId id) const { return at(id).Enabled; }
    int Top(ControlId id) const { return at(id).Top; }
    int Left(ControlId id) const { return at(id).Left; }
    bool Underline(ControlId id) const { return at(id).Underline; }
    bool TimerEnabled(ControlId id) const { return at(id).TimerOn; }
    uint32_t ListExtendedStyle(ControlId id) const { return at(id).ExStyle; }
    int ListCount(ControlId id) const { return static_cast<int>(at(id).Rows.size()); }
    ListRow ListRowAt(ControlId id, int i) const { return at(id).Rows.at(static_cast<size_t>(i)); }
    ControlId TopPage() const { return m_shown.FrontPage; }

    // IForm
    WindowHandle Hwnd() const override {
        Count("Hwnd", ControlId::frmMain);
        return 0x1000;
    }
    WindowHandle ControlHwnd(ControlId id) const override {
        Count("ControlHwnd", id);
        return 0x2000 + static_cast<WindowHandle>(id);
    }
    void Apply(const ViewState& view, ControlId id, Aspect what) override {
        const std::string op = OpName(what);
        Count(op.c_str(), id);
        auto it = FailOnce.find({op, id});
        if (it != FailOnce.end()) {
            FailOnce.erase(it);
            throw std::runtime_error(op + " failed");
        }
        const ControlState& st = view.at(id);
        m_shown[id] = st;
        m_shown.FrontPage = view.FrontPage;
        Focus = m_shown.Focus = view.Focus;
        Pointer = m_shown.Pointer = view.Pointer;
        switch (what) {
        case Aspect::Visible:
            Log.push_back(std::string(st.Visible ? "Show(" : "Hide(") + Name(id) + ")");
            break;
        case Aspect::Enabled:
            Log.push_back(std::string(st.Enabled ? "Enable(" : "Disable(") + Name(id) + ")");
            break;
        case Aspect::FrontPage:
            Log.push_back("BringToFront(" + Name(id) + ")");
            break;
        case Aspect::Focus:
            Log.push_back("SetFocus(" + Name(id) + ")");
            break;
        case Aspect::ProgressValue:
            Log.push_back("Progress(" + std::to_string(st.ProgressValue) + ")");
            break;
        case Aspect::Timer:
            Log.push_back(std::string(st.TimerOn ? "TimerOn(" : "TimerOff(") + Name(id) + ")");
            break;
        case Aspect::Pointer:
            Log.push_back(Pointer == MousePointer::Hourglass ? "Pointer(Hourglass)"
                                                             : "Pointer(Default)");
            break;
        default:
            break;
        }
    }
    void RaiseWindow() override {
        Count("RaiseWindow", ControlId::frmMain);
        ++Raises;
        Log.push_back("RaiseWindow");
    }
    void MsgBox(const std::string& text, const std::string& title, MessageBoxIcon icon) override {
        Count("MsgBox", ControlId::frmMain);
        MessageBoxes.push_back({text, title, icon});
        Log.push_back("MessageBox");
    }
    void Refresh() override {
        Count("Refresh", ControlId::frmMain);
        ++Refreshes;
        Log.push_back("Refresh");
    }
    void DoEvents() override {
        Count("DoEvents", ControlId::frmMain);
        ++DoEventsCalls;
        Log.push_back("DoEvents");
        if (OnDoEvents) {
            auto run = std::move(OnDoEvents); // pending events run once
            OnDoEvents = nullptr;
            run();
        }
    }
    void Unload() override {
        Count("Unload", ControlId::frmMain);
        Unloaded = true;
        Log.push_back("Unload");
    }
    bool Unloading() const override { return Unloaded; }
    void SetBusyReason(const std::string& reason) override {
        Count("SetBusyReason", ControlId::frmMain);
        BusyReason = reason;
        Log.push_back("BusyReason(" + reason + ")");
    }

    static std::string Name(ControlId id) { return std::string(ControlName(id)); }

    static std::string OpName(Aspect what) {
        switch (what) {
        case Aspect::Caption:
            return "SetCaption";
        case Aspect::Visible:
            return "SetVisible";
        case Aspect::Enabled:
            return "SetEnabled";
        case Aspect::Place:
            return "SetPlace";
        case Aspect::Font:
            return "SetFont";
        case Aspect::Underline:
            return "SetUnderline";
        case Aspect::Rows:
            return "SetRows";
        case Aspect::ListStyle:
            return "SetListStyle";
        case Aspect::ProgressMax:
            return "SetProgressMax";
        case Aspect::ProgressValue:
            return "SetProgressValue";
        case Aspect::Interval:
            return "SetInterval";
        case Aspect::Timer:
            return "SetTimer";
        case Aspect::FrontPage:
            return "BringToFront";
        case Aspect::Focus:
            return "SetFocus";
        case Aspect::Pointer:
            return "SetMousePointer";
        }
        return "Apply";
    }

private:
    void Count(const char* op, ControlId id) const {
        if (++CallNumber == FailCallNumber) {
            FailedCall = std::string(op) + "(" + Name(id) + ")";
            throw std::runtime_error(FailedCall + " failed");
        }
    }

    ViewState m_shown;
};
