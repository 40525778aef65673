#include "app/link_accessible_win.h"

#include <oleacc.h>

#include <string>

#include "repair/system_library_win.h"

namespace {

struct Accessibility {
    decltype(&::CreateStdAccessibleObject) CreateStandard =
        SYSTEM_FUNCTION(L"oleacc.dll", CreateStdAccessibleObject);
    decltype(&::LresultFromObject) Result = SYSTEM_FUNCTION(L"oleacc.dll", LresultFromObject);
    decltype(&::SysAllocString) AllocString = SYSTEM_FUNCTION(L"oleaut32.dll", SysAllocString);
    bool Complete() const { return CreateStandard && Result && AllocString; }
};

const Accessibility& Functions() {
    static const Accessibility functions;
    return functions;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Text(BSTR* out, const std::wstring& text) {
    if (!out)
        return E_INVALIDARG;
    *out = Functions().AllocString(text.c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

class LinkAccessible final : public IAccessible {
public:
    LinkAccessible(HWND link, IAccessible* standard) : m_link(link), m_standard(standard) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_count; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG count = --m_count;
        if (count == 0) {
            m_standard->Release();
            delete this;
        }
        return count;
    }

    // IDispatch: no type information; clients call the methods directly.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what makes it a link; the rest as the window's standard object has it.
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        return IsSelf(child) ? Text(name, Address()) : E_INVALIDARG;
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        return IsSelf(child) ? Text(value, Address()) : E_INVALIDARG;
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || !role)
            return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_LINK;
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        if (!IsSelf(child) || !state)
            return E_INVALIDARG;
        LONG flags = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == m_link)
            flags |= STATE_SYSTEM_FOCUSED;
        if (!IsWindowVisible(m_link))
            flags |= STATE_SYSTEM_INVISIBLE;
        if (!IsWindowEnabled(m_link))
            flags |= STATE_SYSTEM_UNAVAILABLE;
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        return IsSelf(child) ? Text(action, L"Jump") : E_INVALIDARG;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child))
            return E_INVALIDARG;
        // Later, from the window's own loop, as a click would come.
        PostMessageW(GetParent(m_link), WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(m_link)), STN_CLICKED),
                     reinterpret_cast<LPARAM>(m_link));
        return S_OK;
    }
    STDMETHODIMP get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT, IDispatch** child) override {
        if (child)
            *child = nullptr;
        return E_INVALIDARG;
    }
    STDMETHODIMP get_accParent(IDispatch** parent) override {
        return m_standard->get_accParent(parent);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override {
        return m_standard->get_accDescription(child, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* text) override {
        return m_standard->get_accHelp(child, text);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return m_standard->get_accKeyboardShortcut(child, text);
    }
    STDMETHODIMP get_accFocus(VARIANT* focus) override { return m_standard->get_accFocus(focus); }
    STDMETHODIMP get_accSelection(VARIANT* selection) override {
        return m_standard->get_accSelection(selection);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override {
        return m_standard->accSelect(flags, child);
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override {
        return m_standard->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return m_standard->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(long left, long top, VARIANT* child) override {
        return m_standard->accHitTest(left, top, child);
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    std::wstring Address() const {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(m_link)) + 1, L'\0');
        text.resize(static_cast<size_t>(
            GetWindowTextW(m_link, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    HWND m_link;
    IAccessible* m_standard;
    ULONG m_count = 1;
};

} // namespace

LRESULT LinkAccessibleObject(HWND link, WPARAM flags) {
    if (!Functions().Complete())
        return 0;
    IAccessible* standard = nullptr;
    if (FAILED(Functions().CreateStandard(link, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* object = new LinkAccessible(link, standard);
    const LRESULT result = Functions().Result(__uuidof(IAccessible), flags, object);
    object->Release(); // the result holds its own reference
    return result;
}
