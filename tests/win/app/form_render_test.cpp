// The real window renders a view state: every control of the pages in front shows its record
// (text, visibility, enabled state, place, chosen option, the list's rows in the record's order),
// the focus is where the state puts it, and Tab goes through a page in the table's order, at
// 96, 120 and 144 dpi. The state is set before the pages are made, so that they are made from it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/form_win.h"
#include "tests/fakes/no_form_events.h"
#include "text/win_text.h"

namespace {

using C = ControlId;

std::string Text(HWND w) {
    wchar_t buf[512] = {};
    const int n = GetWindowTextW(w, buf, 512);
    return Narrow(buf, static_cast<size_t>(n > 0 ? n : 0));
}

std::vector<ListRow> Rows(HWND list) {
    std::vector<ListRow> rows;
    const int n = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        ListRow row;
        std::string* texts[] = {&row.Text, &row.Sub1, &row.Sub2};
        for (int sub = 0; sub < 3; ++sub) {
            wchar_t buf[256] = {};
            LVITEMW item = {};
            item.iSubItem = sub;
            item.pszText = buf;
            item.cchTextMax = 256;
            const auto len =
                SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
            *texts[sub] = Narrow(buf, static_cast<size_t>(len > 0 ? len : 0));
        }
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        row.Key = row.Text;
        row.Image = item.iImage + 1;
        rows.push_back(row);
    }
    return rows;
}

// A state no start-up gives: texts, hidden and disabled controls, moved ones (the link into the
// text above it), an option chosen, rows sorted by their version.
ViewState Given() {
    ViewState v;
    v[C::Label1].Caption = "Kept text";
    v[C::Label3].Caption = "Two lines of text above the link, which layout moves below them.";
    v[C::lblRepairUrl].Caption = "https://www.velmora.example/x.html";
    v[C::lblRepairUrl].Top = 900;
    v[C::imgDownArrow].Visible = false;
    v[C::cmdRepairMDAC].Enabled = false;
    v[C::cmdZurück].Enabled = true;
    v[C::cmdAbbrechen].Caption = "Schließen";
    v[C::Label16].Top = 1440;
    v[C::optResolved].Visible = v[C::optFurtherProblems].Visible = true;
    v.ChooseOption(C::optFurtherProblems);
    v[C::lvwMDACFiles].ExStyle = LVS_EX_FULLROWSELECT;
    for (const auto& [name, version, image] :
         {std::tuple{"b.dll", "2.9.0", 2}, {"a.dll", "2.81.1117", 1}, {"c.dll", "10.0.1", 2}})
        v.AddRow(C::lvwMDACFiles, {name, name, version, std::string("C:\\x\\") + name, image});
    v[C::lvwMDACFiles].SortKey = 1;
    v.SortRows(C::lvwMDACFiles);
    v.Focus = C::optFurtherProblems;
    return v;
}

TEST(FormRender, TheWindowsAreWhatTheStateSays) {
    for (const int dpi : {96, 120, 144}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        ViewState view = Given();
        // Where layout moves a link, the state records it, as the wizard does.
        struct : NoFormEvents {
            ViewState* View;
            void OnLinkMoved(C link, int drop) override { (*View)[link].Drop = drop; }
        } events;
        events.View = &view;
        WinForm form;
        ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), events, view, dpi));
        for (C page : {C::pic4, C::pic3}) {
            view.FrontPage = page;
            form.Apply(view, page, Aspect::FrontPage);
        }
        const auto wnd = [&](C id) { return reinterpret_cast<HWND>(form.ControlHwnd(id)); };
        size_t controls = 0;
        for (const auto& entry : ControlTable()) {
            HWND w = wnd(entry.Id);
            if (entry.Id == C::frmMain || !w)
                continue;
            SCOPED_TRACE(entry.Name);
            const ControlState& st = view.at(entry.Id);
            const bool texted = entry.Kind == ControlKind::Label ||
                                entry.Kind == ControlKind::Button ||
                                entry.Kind == ControlKind::Option;
            EXPECT_TRUE(!texted || Text(w) == st.Caption) << Text(w);
            // Of the pages, the one in front is shown.
            const bool shown = IsPage(entry.Id) ? entry.Id == view.FrontPage : st.Visible;
            EXPECT_EQ((GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0, shown);
            EXPECT_EQ(IsWindowEnabled(w) != FALSE, st.Enabled);
            RECT r = {};
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, TwipsToPixels(st.Left, dpi));
            EXPECT_EQ(r.top, TwipsToPixels(st.Top + st.Drop, dpi));
            const bool checked = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
            EXPECT_TRUE(entry.Kind != ControlKind::Option || checked == st.Option);
            ++controls;
        }
        EXPECT_GE(controls, 20u);
        EXPECT_GT(view.at(C::lblRepairUrl).Drop, 0);
        HWND list = wnd(C::lvwMDACFiles);
        EXPECT_EQ(Rows(list), view.at(C::lvwMDACFiles).Rows);
        EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
        EXPECT_EQ(GetFocus(), wnd(view.Focus));

        // Tab goes through the usable tab stops of the page in front, then the button bar, in
        // the table's order.
        std::vector<HWND> expected, tabbed;
        for (C parent : {C::pic3, C::frmMain})
            for (const auto& entry : ControlTable())
                if (entry.Parent == parent && entry.TabIndex >= 0 && entry.Id != C::optResolved &&
                    view.at(entry.Id).Visible && view.at(entry.Id).Enabled)
                    expected.push_back(wnd(entry.Id));
        HWND main = reinterpret_cast<HWND>(form.Hwnd());
        for (HWND w = wnd(view.Focus); w && tabbed.size() < expected.size();
             w = GetNextDlgTabItem(main, w, FALSE))
            tabbed.push_back(w);
        EXPECT_EQ(tabbed, expected);
    }
}

} // namespace
