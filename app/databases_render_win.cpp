// The window on databases shows a control's record of the view state.
#include "databases_window_win.h"

#include <commctrl.h>

#include "text/win_text.h"
#include "window_text_win.h"

namespace {
using C = ControlId;

// The state column takes what the other two leave.
constexpr int kColumnShares[] = {30, 28, 42};
} // namespace

std::wstring EditText(const std::string& utf8) {
    std::wstring out;
    for (wchar_t c : Widen(utf8)) {
        if (c == L'\n')
            out += L'\r';
        out += c;
    }
    return out;
}

void WinDatabasesForm::Apply(const ViewState& view, ControlId id) {
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    const ControlState& st = view.at(id);
    if (id == C::frmDatabases) {
        SetWindowTextW(hwnd, Widen(st.Caption).c_str());
        m_focus = Wnd(view.Focus);
        if (m_focus && GetActiveWindow() == hwnd)
            ::SetFocus(m_focus);
        return;
    }
    const ControlKind kind = Describe(id).Kind;
    if (kind == ControlKind::ListView) {
        ShowList(st);
    } else {
        const std::wstring text =
            kind == ControlKind::TextBox ? EditText(st.Caption) : Widen(st.Caption);
        if (WindowText(hwnd) != text) {
            SetWindowTextW(hwnd, text.c_str());
            if (kind == ControlKind::Label)
                NameListAfter(id, text);
            if (kind != ControlKind::TextBox && IsWindowVisible(m_hwnd))
                Layout();
        }
    }
    EnableWindow(hwnd, st.Enabled);
    ShowWindow(hwnd, st.Visible ? SW_SHOWNA : SW_HIDE);
}

void WinDatabasesForm::NameListAfter(ControlId label, std::wstring name) {
    // A list shows no text of its own: its window text is its name for a screen reader, taken
    // from the label before it, as the other controls take theirs.
    const auto table = DatabasesTable();
    for (size_t i = 0; i + 1 < table.size(); ++i)
        if (table[i].Id == label && table[i + 1].Kind == ControlKind::ListView) {
            std::erase(name, L'&');
            SetWindowTextW(Wnd(table[i + 1].Id), name.c_str());
        }
}

void WinDatabasesForm::ShowList(const ControlState& st) {
    HWND list = Wnd(C::lvwInventory);
    RECT client = {};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    const int have = Header_GetItemCount(ListView_GetHeader(list));
    for (size_t i = 0; i < st.Columns.size() && i < std::size(kColumnShares); ++i) {
        std::wstring header = Widen(st.Columns[i]);
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = header.data();
        col.cx = width * kColumnShares[i] / 100;
        col.iSubItem = static_cast<int>(i);
        const auto msg = static_cast<int>(i) < have ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW;
        SendMessageW(list, msg, i, reinterpret_cast<LPARAM>(&col));
    }
    // The row selected before keeps its selection in the new order.
    const int selected = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    const ListRow* keep = selected >= 0 && static_cast<size_t>(selected) < m_shownRows.size()
                              ? &m_shownRows[static_cast<size_t>(selected)]
                              : nullptr;
    const ListRow kept = keep ? *keep : ListRow{};
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int select = -1;
    for (size_t i = 0; i < st.Rows.size(); ++i) {
        const ListRow& row = st.Rows[i];
        std::wstring texts[] = {Widen(row.Text), Widen(row.Sub1), Widen(row.Sub2)};
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = texts[0].data();
        const int at = static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (at < 0)
            continue;
        for (int sub = 1; sub < 3; ++sub) {
            LVITEMW subItem = {};
            subItem.iSubItem = sub;
            subItem.pszText = texts[sub].data();
            SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&subItem));
        }
        if (keep && row.Text == kept.Text && row.Sub1 == kept.Sub1 && row.Sub2 == kept.Sub2)
            select = at;
    }
    m_shownRows = st.Rows;
    if (select >= 0) {
        ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, select, FALSE);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}
