// The Win32 form's file list: rows, their images, reading them back, and sorting by a column.
#include "form_win.h"

#include <commctrl.h>

#include <vector>

#include "text/win_text.h"

namespace {
// Orders two rows by the texts of the sort column that `keys` points to (each row's parameter is
// its index there), ascending and ignoring case as the list's own sorting does.
int CALLBACK CompareSortKeys(LPARAM a, LPARAM b, LPARAM keys) {
    const auto& k = *reinterpret_cast<const std::vector<std::wstring>*>(keys);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, k[static_cast<size_t>(a)].c_str(),
                          -1, k[static_cast<size_t>(b)].c_str(), -1) -
           CSTR_EQUAL;
}
} // namespace

void WinForm::ListClear(ControlId id) {
    m_view[id].Rows.clear();
    if (HWND hwnd = Wnd(id))
        SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
}

void WinForm::ListAddRow(ControlId id, const ListRow& row) {
    m_view[id].Rows.push_back(row);
    if (HWND hwnd = Wnd(id)) {
        InsertRow(hwnd, row);
        if (m_sorted)
            SortList(id);
    }
}

void WinForm::InsertRow(HWND hwnd, const ListRow& row) {
    std::wstring text = Widen(row.Text), sub1 = Widen(row.Sub1), sub2 = Widen(row.Sub2);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = text.data();
    item.iImage = row.Image - 1;
    const int index =
        static_cast<int>(SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0)
        return;
    LVITEMW sub = {};
    sub.iSubItem = 1;
    sub.pszText = sub1.data();
    SendMessageW(hwnd, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = sub2.data();
    SendMessageW(hwnd, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
}

int WinForm::ListCount(ControlId id) const {
    return static_cast<int>(m_view.at(id).Rows.size());
}

ListRow WinForm::ListRowAt(ControlId id, int index) const {
    // In the order the list shows them, which the list's own sorting decides once it is made.
    ListRow row;
    HWND hwnd = Wnd(id);
    const auto& rows = m_view.at(id).Rows;
    if (!hwnd)
        return index >= 0 && static_cast<size_t>(index) < rows.size()
                   ? rows[static_cast<size_t>(index)]
                   : row;
    auto text = [&](int sub) {
        wchar_t buf[1024] = {};
        LVITEMW item = {};
        item.iSubItem = sub;
        item.pszText = buf;
        item.cchTextMax = 1024;
        const auto n = SendMessageW(hwnd, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
        return Narrow(buf, static_cast<size_t>(n > 0 ? n : 0));
    };
    row.Text = row.Key = text(0);
    row.Sub1 = text(1);
    row.Sub2 = text(2);
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        row.Image = item.iImage + 1;
    return row;
}

void WinForm::ListSetSortKey(ControlId, int column) {
    m_sortKey = column;
}

void WinForm::ListSetSorted(ControlId id, bool sorted) {
    m_sorted = sorted;
    if (sorted && Wnd(id))
        SortList(id);
}

void WinForm::SortList(ControlId id) {
    HWND hwnd = Wnd(id);
    if (!hwnd)
        return;
    // The sort column's texts are read once, and each row carries its index into them. The list's
    // other sort message hands the callback row positions, and Wine's list view gives positions
    // of its half-sorted copy while item texts still come from the rows in their old order.
    const int count = static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::wstring> keys(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) {
        wchar_t buf[1024] = {};
        LVITEMW item = {};
        item.iSubItem = m_sortKey;
        item.cchTextMax = 1024;
        item.pszText = buf;
        SendMessageW(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        keys[static_cast<size_t>(i)] = buf;
        LVITEMW param = {};
        param.mask = LVIF_PARAM;
        param.iItem = i;
        param.lParam = i;
        SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&param));
    }
    // Held in the SDK's own type, so that a comparator of another calling convention can't build.
    const PFNLVCOMPARE compare = CompareSortKeys;
    ListView_SortItems(hwnd, compare, reinterpret_cast<LPARAM>(&keys));
}

uint32_t WinForm::ListExtendedStyle(ControlId id) const {
    return m_view.at(id).ExStyle;
}

void WinForm::SetListExtendedStyle(ControlId id, uint32_t style) {
    m_view[id].ExStyle = style;
    if (HWND hwnd = Wnd(id))
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
}
