// The real window's controls in their layers: no label or picture lies over a button, option
// button, list or progress bar, which keep their order among themselves (the tab order follows
// it).
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/form_win.h"
#include "tests/fakes/no_form_events.h"

namespace {

bool Windowed(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::Option ||
           kind == ControlKind::ListView || kind == ControlKind::ProgressBar;
}

// One window for the suite: its classes can be registered once per process.
class FormLayering : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        s_form = std::make_unique<WinForm>();
        s_created = s_form->Create(GetModuleHandleW(nullptr), s_events, s_view);
        if (s_created)
            s_form->Show(SW_SHOWNOACTIVATE);
    }
    static void TearDownTestSuite() { s_form.reset(); }

protected:
    void SetUp() override { ASSERT_TRUE(s_created); }
    static HWND Wnd(ControlId id) { return reinterpret_cast<HWND>(s_form->ControlHwnd(id)); }
    // The state changed as the wizard changes it, and rendered.
    template <typename Edit> static void Change(ControlId id, Aspect what, Edit&& edit) {
        edit(s_view);
        s_form->Apply(s_view, id, what);
    }

    static inline NoFormEvents s_events;
    static inline ViewState s_view;
    static inline std::unique_ptr<WinForm> s_form;
    static inline bool s_created = false;
};

TEST_F(FormLayering, NoLabelOrPictureLiesOverAWindowedControl) {
    size_t checked = 0;
    for (ControlId page :
         {ControlId::pic1, ControlId::pic2, ControlId::pic3, ControlId::pic4, ControlId::pic5}) {
        Change(page, Aspect::FrontPage, [&](ViewState& v) { v.FrontPage = page; });
        for (const auto& entry : ControlTable()) {
            if (entry.Parent != page || !Windowed(entry.Kind))
                continue;
            Change(entry.Id, Aspect::Visible, [&](ViewState& v) { v[entry.Id].Visible = true; });
            RECT rc = {};
            ASSERT_TRUE(GetWindowRect(Wnd(entry.Id), &rc));
            HWND hit = WindowFromPoint({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
            // Windowed controls may lie on one another (the bar takes the repair button's place
            // once the button is hidden); only what is drawn may not cover them.
            const auto id = static_cast<ControlId>(GetDlgCtrlID(hit));
            const bool windowed = hit == Wnd(entry.Id) || IsChild(Wnd(entry.Id), hit) ||
                                  (GetParent(hit) == Wnd(page) && Windowed(Describe(id).Kind));
            EXPECT_TRUE(windowed) << entry.Name << " lies under " << ControlName(id);
            ++checked;
        }
    }
    EXPECT_GE(checked, 5u); // the repair button, the bar, both answers, the list
}

TEST_F(FormLayering, WindowedControlsKeepTheTableOrder) {
    for (ControlId parent : {ControlId::frmMain, ControlId::pic3}) {
        std::vector<HWND> expected, actual;
        for (const auto& entry : ControlTable())
            if (entry.Parent == parent && entry.Id != ControlId::frmMain && Windowed(entry.Kind))
                expected.push_back(Wnd(entry.Id));
        for (HWND c = GetWindow(Wnd(parent), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (std::find(expected.begin(), expected.end(), c) != expected.end())
                actual.push_back(c);
        EXPECT_EQ(actual, expected) << ControlName(parent);
    }
}

// A screen reader asks the window's accessible object: each link is found as a link, named by the
// address it shows, and one can move the focus to it.
TEST_F(FormLayering, LinksAreFoundAsLinksNamedByTheirAddress) {
    Change(ControlId::pic2, Aspect::FrontPage, [](ViewState& v) { v.FrontPage = ControlId::pic2; });
    Change(ControlId::lblDownloadMDAC, Aspect::Caption, [](ViewState& v) {
        v[ControlId::lblDownloadMDAC].Caption = "https://www.velmora.example/x.html";
    });
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // as the wizard's thread is
    IAccessible* link = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(Wnd(ControlId::lblDownloadMDAC), OBJID_CLIENT,
                                         IID_IAccessible, reinterpret_cast<void**>(&link)),
              S_OK);
    ASSERT_NE(link, nullptr);
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role = {}, state = {};
    BSTR name = nullptr;
    EXPECT_EQ(link->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_LINK);
    EXPECT_EQ(link->get_accName(self, &name), S_OK);
    EXPECT_STREQ(name, L"https://www.velmora.example/x.html");
    EXPECT_EQ(link->get_accState(self, &state), S_OK);
    EXPECT_EQ(state.lVal & (STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE),
              STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE);
    SysFreeString(name);
    link->Release();
}

} // namespace
