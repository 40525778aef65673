/* The baseline of the start-up and memory benchmarks: the least a wizard of Quendry's kind can do
 * to show a first page. One window with one label, built the way Quendry is built (statically
 * linked, Unicode, window subsystem) and carrying Quendry's own manifest, so that the same common
 * controls are loaded; it initialises them as Quendry does, and paints before it enters its
 * message loop, as Quendry does. */
#include <windows.h>

#include <commctrl.h>

static LRESULT CALLBACK MinimalProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    (void)previous;
    (void)commandLine;
    InitCommonControls();
    WNDCLASSEXW wc = {0};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MinimalProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"QuendryBenchMinimal";
    if (!RegisterClassExW(&wc))
        return 1;
    HWND window = CreateWindowExW(
        0, wc.lpszClassName, L"Minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 503, 360, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    HWND label = CreateWindowExW(0, L"STATIC", L"Welcome", WS_CHILD | WS_VISIBLE | SS_LEFT, 16, 16,
                                 300, 40, window, NULL, instance, NULL);
    if (!label)
        return 1;
    SendMessageW(label, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
