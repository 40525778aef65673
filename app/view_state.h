#pragma once
// What the window shows, kept once: one record per control, seeded from the control table, and
// the page in front. A form renders it; the wizard's logic reads and writes only this.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "controls.h"

struct ListRow {
    std::string Key = {}, Text = {}, Sub1 = {}, Sub2 = {};
    int Image = 0; // 1 = check mark, 2 = warning sign
};

struct ControlState {
    std::string Caption;
    bool Visible = true, Enabled = true, Underline = false;
    int Left = 0, Top = 0; // twips
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

class ViewState {
public:
    // Every control as its row of the table describes it; the page made last in front, as the
    // window has it until start-up brings the welcome page forward.
    explicit ViewState(std::span<const ControlSpec> table = ControlTable());

    ControlState& operator[](ControlId id) { return m_controls.at(id); }
    const ControlState& at(ControlId id) const { return m_controls.at(id); }

    // The page in front, which the wizard's step need not match (the welcome page stays in front
    // when the version check fails on the way to step 2).
    ControlId FrontPage = ControlId::frmMain;
    // The control the wizard gave the keyboard focus last.
    ControlId Focus = ControlId::frmMain;

    // A row added to a list, in its place when the list is sorted.
    void AddRow(ControlId list, const ListRow& row);
    // The list sorted by its sort column, as it is from now on.
    void SortRows(ControlId list);

private:
    std::map<ControlId, ControlState> m_controls;
};
