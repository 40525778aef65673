#pragma once
// A form that renders the view state in memory (each control's record, seeded from the control
// table, and the page in front) and records the calls that have an order worth checking (z-order,
// focus, message boxes, events, unload).
#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form.h"

class RecordingForm : public IForm {
public:
    // Each control's state is the view state the product's form renders.
    using State = ControlState;
    struct Box {
        std::string Text, Title;
        MessageBoxIcon Icon;
    };

    State& operator[](ControlId id) { return m_view[id]; }
    const State& at(ControlId id) const { return m_view.at(id); }

    std::vector<std::string> Log; // calls in order, as "Name(args)"
    std::vector<Box> MessageBoxes;
    ControlId Focus = ControlId::frmMain;
    MousePointer Pointer = MousePointer::Default;
    bool Unloaded = false;
    std::string BusyReason;
    int Refreshes = 0, Raises = 0;
    std::function<void()> OnDoEvents; // what "pending events" run, if anything
    int DoEventsCalls = 0;
    // Makes the next call of the named operation on the control raise, as a failing statement
    // would.
    std::map<std::pair<std::string, ControlId>, bool> FailOnce;
    // Fault injection: every call of the form counts, from 1, and the call numbered FailCallNumber
    // raises, as a failing statement of the toolkit would (0: none). FailedCall names it.
    mutable size_t CallNumber = 0;
    size_t FailCallNumber = 0;
    mutable std::string FailedCall;

    void SelectOption(ControlId id) {
        m_view[ControlId::optResolved].Option = id == ControlId::optResolved;
        m_view[ControlId::optFurtherProblems].Option = id == ControlId::optFurtherProblems;
    }

    // IForm
    WindowHandle Hwnd() const override {
        Count("Hwnd", ControlId::frmMain);
        return 0x1000;
    }
    WindowHandle ControlHwnd(ControlId id) const override {
        Count("ControlHwnd", id);
        return 0x2000 + static_cast<WindowHandle>(id);
    }
    void SetCaption(ControlId id, const std::string& text) override {
        Count("SetCaption", id);
        Fail("SetCaption", id);
        m_view[id].Caption = text;
    }
    std::string Caption(ControlId id) const override {
        Count("Caption", id);
        return m_view.at(id).Caption;
    }
    void SetVisible(ControlId id, bool v) override {
        Count("SetVisible", id);
        Fail("SetVisible", id);
        m_view[id].Visible = v;
        Log.push_back(std::string(v ? "Show(" : "Hide(") + Name(id) + ")");
    }
    bool Visible(ControlId id) const override {
        Count("Visible", id);
        return m_view.at(id).Visible;
    }
    void SetEnabled(ControlId id, bool e) override {
        Count("SetEnabled", id);
        Fail("SetEnabled", id);
        m_view[id].Enabled = e;
        Log.push_back(std::string(e ? "Enable(" : "Disable(") + Name(id) + ")");
    }
    bool Enabled(ControlId id) const override {
        Count("Enabled", id);
        return m_view.at(id).Enabled;
    }
    void SetTop(ControlId id, int t) override {
        Count("SetTop", id);
        m_view[id].Top = t;
    }
    void SetLeft(ControlId id, int l) override {
        Count("SetLeft", id);
        Fail("SetLeft", id);
        m_view[id].Left = l;
    }
    int Top(ControlId id) const override {
        Count("Top", id);
        return m_view.at(id).Top;
    }
    int Left(ControlId id) const override {
        Count("Left", id);
        return m_view.at(id).Left;
    }
    void SetFontName(ControlId id, const std::string& face) override {
        Count("SetFontName", id);
        Fail("SetFontName", id);
        m_view[id].FontName = face;
    }
    void SetUnderline(ControlId id, bool u) override {
        Count("SetUnderline", id);
        m_view[id].Underline = u;
    }
    bool Underline(ControlId id) const override {
        Count("Underline", id);
        return m_view.at(id).Underline;
    }
    void BringToFront(ControlId id) override {
        Count("BringToFront", id);
        Fail("BringToFront", id);
        if (IsPage(id))
            m_view.FrontPage = id;
        Log.push_back("BringToFront(" + Name(id) + ")");
    }
    ControlId TopPage() const override {
        Count("TopPage", ControlId::frmMain);
        return m_view.FrontPage;
    }
    void RaiseWindow() override {
        Count("RaiseWindow", ControlId::frmMain);
        ++Raises;
        Log.push_back("RaiseWindow");
    }
    void SetFocus(ControlId id) override {
        Count("SetFocus", id);
        Focus = id;
        Log.push_back("SetFocus(" + Name(id) + ")");
    }
    bool OptionValue(ControlId id) const override {
        Count("OptionValue", id);
        return m_view.at(id).Option;
    }
    void ListClear(ControlId id) override {
        Count("ListClear", id);
        Fail("ListClear", id);
        m_view[id].Rows.clear();
    }
    void ListAddRow(ControlId id, const ListRow& row) override {
        Count("ListAddRow", id);
        Fail("ListAddRow", id);
        m_view.AddRow(id, row);
    }
    int ListCount(ControlId id) const override {
        Count("ListCount", id);
        return static_cast<int>(m_view.at(id).Rows.size());
    }
    ListRow ListRowAt(ControlId id, int i) const override {
        Count("ListRowAt", id);
        return m_view.at(id).Rows.at(i);
    }
    void ListSetSortKey(ControlId id, int column) override {
        Count("ListSetSortKey", id);
        m_view[id].SortKey = column;
    }
    void ListSetSorted(ControlId id, bool sorted) override {
        Count("ListSetSorted", id);
        if (sorted)
            m_view.SortRows(id);
        else
            m_view[id].Sorted = false;
    }
    uint32_t ListExtendedStyle(ControlId id) const override {
        Count("ListExtendedStyle", id);
        return m_view.at(id).ExStyle;
    }
    void SetListExtendedStyle(ControlId id, uint32_t s) override {
        Count("SetListExtendedStyle", id);
        m_view[id].ExStyle = s;
    }
    void SetProgressMax(ControlId id, int max) override {
        Count("SetProgressMax", id);
        m_view[id].ProgressMax = max;
    }
    void SetProgressValue(ControlId id, int v) override {
        Count("SetProgressValue", id);
        m_view[id].ProgressValue = v;
        Log.push_back("Progress(" + std::to_string(v) + ")");
    }
    void SetTimerInterval(ControlId id, uint32_t ms) override {
        Count("SetTimerInterval", id);
        m_view[id].Interval = ms;
    }
    void SetTimerEnabled(ControlId id, bool on) override {
        Count("SetTimerEnabled", id);
        m_view[id].TimerOn = on;
        Log.push_back(std::string(on ? "TimerOn(" : "TimerOff(") + Name(id) + ")");
    }
    bool TimerEnabled(ControlId id) const override {
        Count("TimerEnabled", id);
        return m_view.at(id).TimerOn;
    }
    void SetMousePointer(MousePointer p) override {
        Count("SetMousePointer", ControlId::frmMain);
        Pointer = p;
        Log.push_back(p == MousePointer::Hourglass ? "Pointer(Hourglass)" : "Pointer(Default)");
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

private:
    void Count(const char* op, ControlId id) const {
        if (++CallNumber == FailCallNumber) {
            FailedCall = std::string(op) + "(" + Name(id) + ")";
            throw std::runtime_error(FailedCall + " failed");
        }
    }
    void Fail(const char* op, ControlId id) {
        auto it = FailOnce.find({op, id});
        if (it != FailOnce.end()) {
            FailOnce.erase(it);
            throw std::runtime_error(std::string(op) + " failed");
        }
    }

    ViewState m_view;
};
