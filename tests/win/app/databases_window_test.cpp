// The window on which programs can open databases, made for real: in both languages, at 96, 120
// and 144 pixels per inch and in a wider face, every text is whole inside its control, no control
// runs under another or off the window, a screen reader finds each box and the list by its label,
// Tab goes through the controls in their order, the list shows the rows of the view state, and a
// program dropped on the window is answered for.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/databases_window_win.h"
#include "app/frm_databases.h"
#include "app/window_text_win.h"
#include "tests/fakes/fake_machine.h"

namespace {
using C = ControlId;

// Long paths and names, as a machine with the engine in both views and Click-to-Run Office has.
DataAccessReport LongReport() {
    const LibraryFile ace = {
        .Path = "C:\\Program Files\\Common Files\\Microsoft Shared\\OFFICE16\\ACEOLEDB.DLL",
        .State = ComponentState::WrongMachine};
    Inventory inv = {
        .Windows64 = true,
        .Views = {{.View = Bitness::Bits32,
                   .Providers = {{.ProgId = "Microsoft.ACE.OLEDB.16.0", .Library = ace}},
                   .SystemSources = {{.Name = "Customers of the northern region",
                                      .Driver = "Microsoft Excel Driver (*.xls, "
                                                "*.xlsx, *.xlsm, *.xlsb)"}}},
                  {.View = Bitness::Bits64}},
        .UserAccount = "WORKGROUP\\helpdesk-administrator",
        .Office = {.Found = true,
                   .ClickToRun = true,
                   .Bits = Bitness::Bits64,
                   .Version = "16.0.17928.20156",
                   .Products = "O365ProPlusRetail,VisioProRetail",
                   .AceOnlyInClickToRun = {"Microsoft.ACE.OLEDB.16.0"}}};
    return {.Facts = inv, .Answers = AnswerDatabases(inv)};
}

struct Setting {
    Language Lang;
    int Dpi;
    const wchar_t* Face; // nullptr: the table's
};

// Runs the window and calls `look` on it once it is shown; the window is closed after.
std::function<void(HWND)> g_look;
void CALLBACK LookThenClose(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND window = FindWindowW(kDatabasesWindowClass, nullptr);
    if (window && g_look)
        g_look(window);
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
}

RECT ScreenRect(HWND hwnd) {
    RECT rc = {};
    GetWindowRect(hwnd, &rc);
    return rc;
}

class DatabasesWindowFit : public ::testing::TestWithParam<Setting> {};

TEST_P(DatabasesWindowFit, WholeNamedInTabOrderAndTakesADrop) {
    const Setting s = GetParam();
    const DataAccessReport report = LongReport();
    FakeFiles files;
    files.Images[{"C:\\Tools\\report.exe", Bitness::Bits64}] = {
        .Kind = ImageKind::Native, .Machine = 0x8664, .Pe32Plus = true};
    WinDatabasesForm form;
    frmDatabases frm(form, files, report, s.Lang);
    bool looked = false;
    g_look = [&](HWND window) {
        looked = true;
        const auto wnd = [&](C id) { return GetDlgItem(window, static_cast<int>(id)); };
        RECT client = {};
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (const ControlSpec& a : DatabasesTable()) {
            if (a.Id == C::frmDatabases)
                continue;
            const RECT box = ScreenRect(wnd(a.Id));
            RECT inside = {}, overlap = {};
            EXPECT_TRUE(IntersectRect(&inside, &box, &client) && EqualRect(&inside, &box))
                << a.Name << " runs off the window";
            for (const ControlSpec& b : DatabasesTable()) {
                if (b.Id == C::frmDatabases || b.Id <= a.Id)
                    continue;
                const RECT other = ScreenRect(wnd(b.Id));
                EXPECT_FALSE(IntersectRect(&overlap, &box, &other)) << a.Name << " and " << b.Name;
            }
            if (a.Kind != ControlKind::Label && a.Kind != ControlKind::Button)
                continue;
            // The text as the control draws it: a button's on one line, with room at its sides.
            HWND hwnd = wnd(a.Id);
            RECT room = {};
            GetClientRect(hwnd, &room);
            RECT text = {0, 0, a.Kind == ControlKind::Label ? room.right : 0, 0};
            HDC dc = GetDC(hwnd);
            HGDIOBJ old =
                SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
            DrawTextW(dc, WindowText(hwnd).c_str(), -1, &text,
                      DT_CALCRECT | (a.Kind == ControlKind::Label ? DT_WORDBREAK : DT_SINGLELINE));
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
            EXPECT_LE(text.right, room.right - (a.Kind == ControlKind::Button ? 8 : 0)) << a.Name;
            EXPECT_LE(text.bottom, room.bottom) << a.Name;
        }
        HWND list = wnd(C::lvwInventory);
        EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0),
                  static_cast<LRESULT>(frm.View().at(C::lvwInventory).Rows.size()));
        EXPECT_EQ(GetFocus(), wnd(C::txtAnswer));
        // A screen reader names each box and the list by the label before it.
        for (const auto& [control, label] : {std::pair{C::txtAnswer, C::lblAnswer},
                                             {C::lvwInventory, C::lblInventory},
                                             {C::txtProgram, C::lblProgram}}) {
            IAccessible* object = nullptr;
            ASSERT_EQ(AccessibleObjectFromWindow(wnd(control), OBJID_CLIENT, IID_IAccessible,
                                                 reinterpret_cast<void**>(&object)),
                      S_OK);
            VARIANT self = {};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            EXPECT_EQ(object->get_accName(self, &name), S_OK);
            std::wstring expected = WindowText(wnd(label));
            std::erase(expected, L'&');
            EXPECT_EQ(std::wstring(name ? name : L""), expected) << ControlName(control);
            SysFreeString(name);
            object->Release();
        }
        // A program dropped from Explorer is answered for.
        const std::wstring dropped = L"C:\\Tools\\report.exe";
        const size_t bytes = sizeof(DROPFILES) + (dropped.size() + 2) * sizeof(wchar_t);
        HGLOBAL drop = GlobalAlloc(GHND, bytes);
        auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        wcscpy(reinterpret_cast<wchar_t*>(files + 1), dropped.c_str());
        GlobalUnlock(drop);
        SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        EXPECT_EQ(WindowText(wnd(C::txtProgram)).rfind(L"Program", 0), 0u);
        EXPECT_NE(WindowText(wnd(C::txtProgram)).find(L"64"), std::wstring::npos);
        const C order[] = {C::txtAnswer,  C::lvwInventory, C::cmdChooseProgram,
                           C::txtProgram, C::cmdCopy,      C::cmdClose};
        for (size_t i = 0; i < std::size(order); ++i)
            EXPECT_EQ(GetNextDlgTabItem(window, wnd(order[i]), FALSE),
                      wnd(order[(i + 1) % std::size(order)]))
                << "after " << ControlName(order[i]);
    };
    // A quit message an earlier test's window left would end the window at once.
    MSG quit = {};
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // as the wizard's thread is
    SetTimer(nullptr, 0, 50, LookThenClose);
    ASSERT_TRUE(form.Run(nullptr, GetModuleHandleW(nullptr), frm, s.Dpi, s.Face ? s.Face : L""));
    EXPECT_TRUE(looked);
    g_look = nullptr;
}

INSTANTIATE_TEST_SUITE_P(LanguagesDensitiesFaces, DatabasesWindowFit,
                         ::testing::Values(Setting{Language::English, 96, nullptr},
                                           Setting{Language::English, 120, nullptr},
                                           Setting{Language::English, 144, nullptr},
                                           Setting{Language::German, 96, nullptr},
                                           Setting{Language::German, 144, nullptr},
                                           Setting{Language::German, 144, L"DejaVu Sans"},
                                           Setting{Language::English, 120, L"DejaVu Sans"}),
                         [](const auto& info) {
                             return std::string(info.param.Lang == Language::German ? "German"
                                                                                    : "English") +
                                    std::to_string(info.param.Dpi) +
                                    (info.param.Face ? "WiderFace" : "");
                         });
} // namespace
