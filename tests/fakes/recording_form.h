#pragma once
// A form that keeps each control's state in memory, starting from the control table, and records
// the calls that have an order worth checking (z-order, focus, message boxes, events, unload).
#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form.h"

class RecordingForm : public IForm {
public:
    struct State {
        std::string Caption;
        bool Visible = true, Enabled = true, Underline = false;
        int Left = 0, Top = 0;
        std::string FontName;
        bool Option = false;
        std::vector<ListRow> Rows;
        int SortKey = 0;
        bool Sorted = false;
        uint32_t ExStyle = 0;
        int ProgressMax = 100, ProgressValue = 0;
        uint32_t Interval = 0;
        bool TimerOn = false;
    };
    struct Box {
        std::string Text, Title;
        MessageBoxIcon Icon;
    };

    RecordingForm() {
        for (const auto& s : ControlTable()) {
            State st;
            st.Caption = std::string(s.Caption);
            st.Visible = s.Visible;
            st.Enabled = s.Enabled;
            st.Left = s.Left;
            st.Top = s.Top;
            st.FontName = std::string(s.FontName);
            st.Interval = s.Interval;
            st.Option = s.Checked;
            m_state[s.Id] = st;
            if (s.Kind == ControlKind::Page)
                m_pages.insert(m_pages.begin(), s.Id); // created last lies on top
        }
    }

    State& operator[](ControlId id) { return m_state[id]; }
    const State& at(ControlId id) const { return m_state.at(id); }

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
        m_state[ControlId::optResolved].Option = id == ControlId::optResolved;
        m_state[ControlId::optFurtherProblems].Option = id == ControlId::optFurtherProblems;
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
        m_state[id].Caption = text;
    }
    std::string Caption(ControlId id) const override {
        Count("Caption", id);
        return m_state.at(id).Caption;
    }
    void SetVisible(ControlId id, bool v) override {
        Count("SetVisible", id);
        Fail("SetVisible", id);
        m_state[id].Visible = v;
        Log.push_back(std::string(v ? "Show(" : "Hide(") + Name(id) + ")");
    }
    bool Visible(ControlId id) const override {
        Count("Visible", id);
        return m_state.at(id).Visible;
    }
    void SetEnabled(ControlId id, bool e) override {
        Count("SetEnabled", id);
        Fail("SetEnabled", id);
        m_state[id].Enabled = e;
        Log.push_back(std::string(e ? "Enable(" : "Disable(") + Name(id) + ")");
    }
    bool Enabled(ControlId id) const override {
        Count("Enabled", id);
        return m_state.at(id).Enabled;
    }
    void SetTop(ControlId id, int t) override {
        Count("SetTop", id);
        m_state[id].Top = t;
    }
    void SetLeft(ControlId id, int l) override {
        Count("SetLeft", id);
        Fail("SetLeft", id);
        m_state[id].Left = l;
    }
    int Top(ControlId id) const override {
        Count("Top", id);
        return m_state.at(id).Top;
    }
    int Left(ControlId id) const override {
        Count("Left", id);
        return m_state.at(id).Left;
    }
    void SetFontName(ControlId id, const std::string& face) override {
        Count("SetFontName", id);
        Fail("SetFontName", id);
        m_state[id].FontName = face;
    }
    void SetUnderline(ControlId id, bool u) override {
        Count("SetUnderline", id);
        m_state[id].Underline = u;
    }
    bool Underline(ControlId id) const override {
        Count("Underline", id);
        return m_state.at(id).Underline;
    }
    void BringToFront(ControlId id) override {
        Count("BringToFront", id);
        Fail("BringToFront", id);
        auto it = std::find(m_pages.begin(), m_pages.end(), id);
        if (it != m_pages.end()) {
            m_pages.erase(it);
            m_pages.insert(m_pages.begin(), id);
        }
        Log.push_back("BringToFront(" + Name(id) + ")");
    }
    ControlId TopPage() const override {
        Count("TopPage", ControlId::frmMain);
        return m_pages.front();
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
        return m_state.at(id).Option;
    }
    void ListClear(ControlId id) override {
        Count("ListClear", id);
        Fail("ListClear", id);
        m_state[id].Rows.clear();
    }
    void ListAddRow(ControlId id, const ListRow& row) override {
        Count("ListAddRow", id);
        Fail("ListAddRow", id);
        auto& rows = m_state[id].Rows;
        rows.push_back(row);
        if (m_state[id].Sorted) {
            const int key = m_state[id].SortKey;
            std::stable_sort(rows.begin(), rows.end(), [key](const ListRow& a, const ListRow& b) {
                return Column(a, key) < Column(b, key);
            });
        }
    }
    int ListCount(ControlId id) const override {
        Count("ListCount", id);
        return static_cast<int>(m_state.at(id).Rows.size());
    }
    ListRow ListRowAt(ControlId id, int i) const override {
        Count("ListRowAt", id);
        return m_state.at(id).Rows.at(i);
    }
    void ListSetSortKey(ControlId id, int column) override {
        Count("ListSetSortKey", id);
        m_state[id].SortKey = column;
    }
    void ListSetSorted(ControlId id, bool sorted) override {
        Count("ListSetSorted", id);
        m_state[id].Sorted = sorted;
        if (sorted) {
            const int key = m_state[id].SortKey;
            auto& rows = m_state[id].Rows;
            std::stable_sort(rows.begin(), rows.end(), [key](const ListRow& a, const ListRow& b) {
                return Column(a, key) < Column(b, key);
            });
        }
    }
    uint32_t ListExtendedStyle(ControlId id) const override {
        Count("ListExtendedStyle", id);
        return m_state.at(id).ExStyle;
    }
    void SetListExtendedStyle(ControlId id, uint32_t s) override {
        Count("SetListExtendedStyle", id);
        m_state[id].ExStyle = s;
    }
    void SetProgressMax(ControlId id, int max) override {
        Count("SetProgressMax", id);
        m_state[id].ProgressMax = max;
    }
    void SetProgressValue(ControlId id, int v) override {
        Count("SetProgressValue", id);
        m_state[id].ProgressValue = v;
        Log.push_back("Progress(" + std::to_string(v) + ")");
    }
    void SetTimerInterval(ControlId id, uint32_t ms) override {
        Count("SetTimerInterval", id);
        m_state[id].Interval = ms;
    }
    void SetTimerEnabled(ControlId id, bool on) override {
        Count("SetTimerEnabled", id);
        m_state[id].TimerOn = on;
        Log.push_back(std::string(on ? "TimerOn(" : "TimerOff(") + Name(id) + ")");
    }
    bool TimerEnabled(ControlId id) const override {
        Count("TimerEnabled", id);
        return m_state.at(id).TimerOn;
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
    static const std::string& Column(const ListRow& r, int key) {
        return key == 0 ? r.Text : key == 1 ? r.Sub1 : r.Sub2;
    }
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

    std::map<ControlId, State> m_state;
    std::vector<ControlId> m_pages; // front() is on top
};
