#pragma once
// What the window shows, kept once: one record per control, seeded from the control table, the
// page in front, the focus and the pointer. The wizard owns it and changes it; a form renders it.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "controls.h"

enum class MousePointer { Default, Hourglass };

struct ListRow {
    std::string Key = {}, Text = {}, Sub1 = {}, Sub2 = {};
    int Image = 0; // 1 = check mark, 2 = warning sign
    bool operator==(const ListRow&) const = default;
};

struct ControlState {
    std::string Caption;
    bool Visible = true, Enabled = true, Underline = false;
    int Left = 0, Top = 0; // twips, where the wizard put it
    int Drop = 0;          // twips a link lies below Top: layout moved it clear of a text above
    std::string FontName;
    bool Option = false;              // an option: chosen
    std::vector<std::string> Columns; // a list's headings, where the wizard sets them
    std::vector<ListRow> Rows;
    int SortKey = 0; // the column a sorted list is sorted by
    bool Sorted = false;
    uint32_t ExStyle = 0; // a list's extended style
    int ProgressMax = 100, ProgressValue = 0;
    uint32_t Interval = 0; // a timer's, in milliseconds
    bool TimerOn = false;
};

// What of the view changed, so that a form redoes only that: a part of one control's record, or
// (for the page in front, the focus and the pointer) the view's own.
enum class Aspect {
    Caption,
    Visible,
    Enabled,
    Place,
    Font,
    Underline,
    Rows,
    ListStyle,
    ProgressMax,
    ProgressValue,
    Interval,
    Timer,
    FrontPage,
    Focus,
    Pointer,
};

// The part a field of the record belongs to.
Aspect AspectOf(std::string ControlState::*field);
Aspect AspectOf(bool ControlState::*field);
Aspect AspectOf(int ControlState::*field);
Aspect AspectOf(uint32_t ControlState::*field);

class ViewState {
public:
    // Every control as its row of the table describes it; the page made last in front, as the
    // window has it until start-up brings the welcome page forward.
    ViewState() : ViewState(ControlTable()) {}
    // The same for another window's table.
    explicit ViewState(std::span<const ControlSpec> table);

    ControlState& operator[](ControlId id) { return m_controls.at(id); }
    const ControlState& at(ControlId id) const { return m_controls.at(id); }

    // The page in front, which the wizard's step need not match (the welcome page stays in front
    // when the version check fails on the way to step 2).
    ControlId FrontPage = ControlId::frmMain;
    // The control the wizard gave the keyboard focus last.
    ControlId Focus = ControlId::frmMain;
    MousePointer Pointer = MousePointer::Default;

    // A row added to a list, in its place when the list is sorted.
    void AddRow(ControlId list, const ListRow& row);
    // The list sorted by its sort column, as it is from now on.
    void SortRows(ControlId list);
    // The user chose an option: it is the chosen one of its page's options.
    void ChooseOption(ControlId option);

private:
    std::map<ControlId, ControlState> m_controls;
};
