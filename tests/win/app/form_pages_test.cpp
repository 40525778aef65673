// A page's controls are made the first time the page comes to the front. What the wizard sets on
// them before is what the form answers, and what the windows show once they are made.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/form_win.h"
#include "tests/fakes/no_form_events.h"

namespace {

using C = ControlId;

struct Setting {
    const char* what;
    C id;
    void (*set)(IForm&, C);
    bool (*formSays)(const IForm&, C);
    bool (*windowShows)(HWND, C);
};

const Setting kSettings[] = {
    {.what = "text",
     .id = C::Label1,
     .set = [](IForm& f, C id) { f.SetCaption(id, "Kept text"); },
     .formSays = [](const IForm& f, C id) { return f.Caption(id) == "Kept text"; },
     .windowShows =
         [](HWND w, C) {
             wchar_t text[32] = {};
             GetWindowTextW(w, text, 32);
             return std::wstring(text) == L"Kept text";
         }},
    {.what = "hidden",
     .id = C::lblRepairUrl,
     .set = [](IForm& f, C id) { f.SetVisible(id, false); },
     .formSays = [](const IForm& f, C id) { return !f.Visible(id); },
     .windowShows = [](HWND w, C) { return (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) == 0; }},
    {.what = "disabled",
     .id = C::cmdRepairMDAC,
     .set = [](IForm& f, C id) { f.SetEnabled(id, false); },
     .formSays = [](const IForm& f, C id) { return !f.Enabled(id); },
     .windowShows = [](HWND w, C) { return !IsWindowEnabled(w); }},
    {.what = "moved",
     .id = C::Label16,
     .set = [](IForm& f, C id) { f.SetTop(id, 1440); },
     .formSays = [](const IForm& f, C id) { return f.Top(id) == 1440; },
     .windowShows =
         [](HWND w, C) {
             RECT r = {};
             GetWindowRect(w, &r);
             MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
             return r.top == 96; // 1440 twips at 96 pixels per inch
         }},
    {.what = "list style",
     .id = C::lvwMDACFiles,
     .set = [](IForm& f, C id) { f.SetListExtendedStyle(id, LVS_EX_FULLROWSELECT); },
     .formSays = [](const IForm& f,
                    C id) { return f.ListExtendedStyle(id) == LVS_EX_FULLROWSELECT; },
     .windowShows =
         [](HWND w, C) {
             return SendMessageW(w, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) == LVS_EX_FULLROWSELECT;
         }},
};

TEST(FormPages, WhatIsSetBeforeAPageIsMadeIsWhatItShows) {
    NoFormEvents events;
    WinForm form;
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), events, 96));
    for (const auto& s : kSettings) {
        SCOPED_TRACE(s.what);
        ASSERT_FALSE(form.ControlHwnd(s.id)) << "made before its page came to the front";
        s.set(form, s.id);
        EXPECT_TRUE(s.formSays(form, s.id));
    }
    for (C page : {C::pic3, C::pic4, C::pic5})
        form.BringToFront(page);
    for (const auto& s : kSettings) {
        SCOPED_TRACE(s.what);
        HWND w = reinterpret_cast<HWND>(form.ControlHwnd(s.id));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(GetDlgCtrlID(w), static_cast<int>(s.id));
        EXPECT_TRUE(s.windowShows(w, s.id));
        EXPECT_TRUE(s.formSays(form, s.id));
    }
}

} // namespace
