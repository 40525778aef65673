#include "repair/com_api_win.h"

#include <windows.h>

#include <objbase.h>

#include "repair/system_library_win.h"
#include "text/win_text.h"

bool Win32ComApi::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int32_t Win32ComApi::CreateInProcess(const std::string& clsid) {
    static const auto fromString = SYSTEM_FUNCTION(L"ole32.dll", CLSIDFromString);
    static const auto create = SYSTEM_FUNCTION(L"ole32.dll", CoCreateInstance);
    if (!fromString || !create)
        return static_cast<int32_t>(E_NOTIMPL);
    std::wstring text = Widen(clsid);
    CLSID id = {};
    HRESULT hr = fromString(text.data(), &id);
    if (FAILED(hr))
        return static_cast<int32_t>(hr);
    IUnknown* object = nullptr;
    hr = create(id, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object));
    if (SUCCEEDED(hr) && object)
        object->Release();
    return static_cast<int32_t>(hr);
}
