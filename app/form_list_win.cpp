// The Win32 form's file list: the rows of the list's record, in the record's order.
#include "form_win.h"

#include <commctrl.h>

#include "text/win_text.h"

namespace {
// Puts `row` at `index`: a new item at the end, else in place of the item there.
void PutRow(HWND list, int index, bool insert, const ListRow& row) {
    std::wstring text = Widen(row.Text), sub1 = Widen(row.Sub1), sub2 = Widen(row.Sub2);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = text.data();
    item.iImage = row.Image - 1;
    if (insert)
        index = static_cast<int>(
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    else if (!SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return;
    if (index < 0)
        return;
    LVITEMW sub = {};
    sub.iSubItem = 1;
    sub.pszText = sub1.data();
    SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = sub2.data();
    SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&sub));
}
} // namespace

void WinForm::ShowRows(ControlId id) {
    HWND list = Wnd(id);
    if (!list)
        return;
    // The items there are reused, each rewritten from the record.
    const auto& rows = State(id).Rows;
    const int want = static_cast<int>(rows.size());
    int have = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < want; ++i)
        PutRow(list, i, i >= have, rows[static_cast<size_t>(i)]);
    while (have > want)
        SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(--have), 0);
}
