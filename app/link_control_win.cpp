#include "app/link_control_win.h"

#include <string>

#include "app/link_accessible_win.h"

namespace {

constexpr wchar_t kClass[] = L"QuendryLink";
constexpr int kFontSlot = 0; // window extra bytes: the font set with WM_SETFONT

HFONT FontOf(HWND hwnd) {
    return reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, kFontSlot));
}

void ReportClick(HWND hwnd) {
    SendMessageW(GetParent(hwnd), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), STN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps = {};
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc)
        return;
    RECT rc = {};
    GetClientRect(hwnd, &rc);
    // The parent chooses the link colour and the background, as for its static texts.
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(hwnd)));
    if (brush)
        FillRect(dc, &rc, brush);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    HGDIOBJ old = SelectObject(dc, FontOf(hwnd) ? FontOf(hwnd) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
    SelectObject(dc, old);
    if (GetFocus() == hwnd)
        DrawFocusRect(dc, &rc);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_SETFONT:
        SetWindowLongPtrW(hwnd, kFontSlot, static_cast<LONG_PTR>(wp));
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(FontOf(hwnd));
    case WM_SETTEXT: {
        const LRESULT done = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, FALSE);
        return done;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        // Enter opens the link with the focus, instead of pressing the window's default button.
        if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN && wp == VK_RETURN)
            return DLGC_WANTMESSAGE;
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_SPACE) {
            ReportClick(hwnd);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        // As a static text that notifies: the click is reported when the button goes down.
        ReportClick(hwnd);
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lp) == static_cast<LONG>(OBJID_CLIENT)) {
            const LRESULT object = LinkAccessibleObject(hwnd, wp);
            if (object)
                return object;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

const wchar_t* LinkControlClass(HINSTANCE instance) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW cls = {};
        cls.cbSize = sizeof cls;
        cls.cbWndExtra = sizeof(LONG_PTR);
        const WNDPROC proc = LinkProc;
        cls.lpfnWndProc = proc;
        cls.hInstance = instance;
        cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        cls.lpszClassName = kClass;
        registered = RegisterClassExW(&cls) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return registered ? kClass : nullptr;
}
