#include "view_state.h"

#include <algorithm>

namespace {
const std::string& Column(const ListRow& r, int key) {
    return key == 0 ? r.Text : key == 1 ? r.Sub1 : r.Sub2;
}
} // namespace

ViewState::ViewState(std::span<const ControlSpec> table) {
    for (const auto& s : table) {
        ControlState st;
        st.Caption = std::string(s.Caption);
        st.Visible = s.Visible;
        st.Enabled = s.Enabled;
        st.Left = s.Left;
        st.Top = s.Top;
        st.FontName = std::string(s.FontName);
        st.Interval = s.Interval;
        st.Option = s.Checked;
        m_controls[s.Id] = st;
        if (s.Kind == ControlKind::Page)
            FrontPage = s.Id;
    }
}

void ViewState::AddRow(ControlId list, const ListRow& row) {
    auto& rows = m_controls.at(list).Rows;
    rows.push_back(row);
    if (m_controls.at(list).Sorted)
        SortRows(list);
}

void ViewState::SortRows(ControlId list) {
    ControlState& st = m_controls.at(list);
    st.Sorted = true;
    const int key = st.SortKey;
    std::stable_sort(st.Rows.begin(), st.Rows.end(), [key](const ListRow& a, const ListRow& b) {
        return Column(a, key) < Column(b, key);
    });
}
