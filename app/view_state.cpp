#include "view_state.h"

#include <algorithm>

namespace {
const std::string& Column(const ListRow& r, int key) {
    return key == 0 ? r.Text : key == 1 ? r.Sub1 : r.Sub2;
}

// As the user's locale orders these texts (file names, versions, paths): case ignored, signs
// before digits before letters.
int Weight(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return 0x200 + c - 'A' + 'a';
    if (c >= 'a' && c <= 'z')
        return 0x200 + c;
    if (c >= '0' && c <= '9')
        return 0x100 + c;
    return c;
}

bool Before(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return Weight(static_cast<unsigned char>(x)) < Weight(static_cast<unsigned char>(y));
    });
}
} // namespace

Aspect AspectOf(std::string ControlState::*field) {
    return field == &ControlState::Caption ? Aspect::Caption : Aspect::Font;
}

Aspect AspectOf(bool ControlState::*field) {
    if (field == &ControlState::Visible)
        return Aspect::Visible;
    if (field == &ControlState::Enabled)
        return Aspect::Enabled;
    if (field == &ControlState::Underline)
        return Aspect::Underline;
    return field == &ControlState::TimerOn ? Aspect::Timer : Aspect::Rows;
}

Aspect AspectOf(int ControlState::*field) {
    if (field == &ControlState::ProgressMax)
        return Aspect::ProgressMax;
    if (field == &ControlState::ProgressValue)
        return Aspect::ProgressValue;
    return field == &ControlState::SortKey ? Aspect::Rows : Aspect::Place;
}

Aspect AspectOf(uint32_t ControlState::*field) {
    return field == &ControlState::Interval ? Aspect::Interval : Aspect::ListStyle;
}

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
        return Before(Column(a, key), Column(b, key));
    });
}

void ViewState::ChooseOption(ControlId option) {
    for (const auto& entry : ControlTable())
        if (entry.Kind == ControlKind::Option && entry.Parent == Describe(option).Parent)
            m_controls.at(entry.Id).Option = entry.Id == option;
}
