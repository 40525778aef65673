#include "desktop_shell_win.h"

#include <windows.h>

#include <exdisp.h>
#include <oleauto.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "repair/system_library_win.h"

namespace {
struct ComFunctions {
    decltype(&::CoCreateInstance) CreateInstance = SYSTEM_FUNCTION(L"ole32.dll", CoCreateInstance);
    decltype(&::SysAllocString) AllocString = SYSTEM_FUNCTION(L"oleaut32.dll", SysAllocString);
    decltype(&::SysFreeString) FreeString = SYSTEM_FUNCTION(L"oleaut32.dll", SysFreeString);
    decltype(&::VariantClear) ClearVariant = SYSTEM_FUNCTION(L"oleaut32.dll", VariantClear);
    bool Complete() const { return CreateInstance && AllocString && FreeString && ClearVariant; }
};

const ComFunctions& Com() {
    static const ComFunctions functions;
    return functions;
}

// Releases a COM interface when it goes out of scope.
template <typename T> struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// IShellDispatch2 of the desktop's own shell view: the Shell object that lives in Explorer.
bool DesktopShellDispatch(IShellDispatch2** out) {
    ComPtr<IShellWindows> windows;
    if (FAILED(Com().CreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                    IID_IShellWindows, reinterpret_cast<void**>(&windows))))
        return false;
    VARIANT location = {};
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT empty = {};
    long hwnd = 0;
    ComPtr<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &empty, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, &desktop) !=
            S_OK ||
        !desktop)
        return false;
    ComPtr<IServiceProvider> provider;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider))))
        return false;
    ComPtr<IShellBrowser> browser;
    if (FAILED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                      reinterpret_cast<void**>(&browser))))
        return false;
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(&view)))
        return false;
    ComPtr<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                   reinterpret_cast<void**>(&background))))
        return false;
    ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(IID_IShellFolderViewDual,
                                          reinterpret_cast<void**>(&folderView))))
        return false;
    ComPtr<IDispatch> application;
    if (FAILED(folderView->get_Application(&application)))
        return false;
    return SUCCEEDED(
        application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(out)));
}
} // namespace

bool OpenThroughDesktopShell(const std::wstring& url) {
    if (!Com().Complete())
        return false;
    ComPtr<IShellDispatch2> shell;
    if (!DesktopShellDispatch(&shell))
        return false;
    BSTR file = Com().AllocString(url.c_str());
    VARIANT args = {}, dir = {}, verb = {}, show = {};
    verb.vt = VT_BSTR;
    verb.bstrVal = Com().AllocString(L"open");
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT hr = shell->ShellExecute(file, args, dir, verb, show);
    Com().FreeString(file);
    Com().ClearVariant(&verb);
    return SUCCEEDED(hr);
}
