#include "desktop_shell_win.h"

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace {
// Releases a COM interface when it goes out of scope.
template <typename T> struct Com {
    T* p = nullptr;
    ~Com() {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// IShellDispatch2 of the desktop's own shell view: the Shell object that lives in Explorer.
bool DesktopShellDispatch(IShellDispatch2** out) {
    Com<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                reinterpret_cast<void**>(&windows))))
        return false;
    VARIANT location = {};
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT empty = {};
    long hwnd = 0;
    Com<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &empty, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, &desktop) !=
            S_OK ||
        !desktop)
        return false;
    Com<IServiceProvider> provider;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider))))
        return false;
    Com<IShellBrowser> browser;
    if (FAILED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                      reinterpret_cast<void**>(&browser))))
        return false;
    Com<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(&view)))
        return false;
    Com<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                   reinterpret_cast<void**>(&background))))
        return false;
    Com<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(IID_IShellFolderViewDual,
                                          reinterpret_cast<void**>(&folderView))))
        return false;
    Com<IDispatch> application;
    if (FAILED(folderView->get_Application(&application)))
        return false;
    return SUCCEEDED(
        application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(out)));
}
} // namespace

bool OpenThroughDesktopShell(const std::wstring& url) {
    Com<IShellDispatch2> shell;
    if (!DesktopShellDispatch(&shell))
        return false;
    BSTR file = SysAllocString(url.c_str());
    VARIANT args = {}, dir = {}, verb = {}, show = {};
    verb.vt = VT_BSTR;
    verb.bstrVal = SysAllocString(L"open");
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT hr = shell->ShellExecute(file, args, dir, verb, show);
    SysFreeString(file);
    VariantClear(&verb);
    return SUCCEEDED(hr);
}
