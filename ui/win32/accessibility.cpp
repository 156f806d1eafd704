#include "ui/win32/accessibility.h"

#include <oleacc.h>

#include "ui/win32/label.h"

namespace ui::win32 {

namespace {

// Delegates to the standard client object; child ids past its own children are labels.
// Once the form's window has ended, every call answers CO_E_OBJNOTCONNECTED.
class FormAccessible final : public IAccessible {
public:
    FormAccessible(HWND form, IAccessible* standard, std::weak_ptr<const AccessibleLabels> labels)
        : form_(form), standard_(standard), labels_(std::move(labels)) {}
    ~FormAccessible() { standard_->Release(); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (!left) delete this;
        return left;
    }
    // IDispatch: not offered beyond the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->Invoke(d, r, l, f, p, v, e, a);
    }
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        const HRESULT hr = standard_->get_accChildCount(count);
        if (SUCCEEDED(hr)) *count += long(labels_.lock()->labels.size());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) {
            *out = nullptr;
            return S_FALSE; // a simple element: no object of its own
        }
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (const Label* l = label(child)) {
            // Named in the form's description (the counter): that name; hidden under
            // another label: none; otherwise its caption.
            const std::u16string& named = l->description().accessibleName;
            const std::u16string text = l->hiddenFromReaders() ? std::u16string()
                                        : named.empty()        ? l->caption()
                                                               : named;
            *name = SysAllocStringLen(wide(text), UINT(text.size()));
            return S_OK;
        }
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (const Label* l = label(child)) {
            // The counter's number is its value.
            if (l->description().accessibleName.empty() || l->hiddenFromReaders()) {
                *value = nullptr;
                return DISP_E_MEMBERNOTFOUND;
            }
            const std::u16string caption = l->caption();
            *value = SysAllocStringLen(wide(caption), UINT(caption.size()));
            return S_OK;
        }
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (const Label* l = label(child)) {
            const std::u16string& role = l->description().role;
            *text = SysAllocStringLen(wide(role), UINT(role.size()));
            return S_OK;
        }
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_STATICTEXT;
            return S_OK;
        }
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (const Label* l = label(child)) {
            state->vt = VT_I4;
            state->lVal =
                STATE_SYSTEM_READONLY | (l->hiddenFromReaders() ? STATE_SYSTEM_INVISIBLE : 0);
            return S_OK;
        }
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) return none(help);
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) {
            *topic = 0;
            return none(file);
        }
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* key) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) return none(key);
        return standard_->get_accKeyboardShortcut(child, key);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) return none(action);
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) return S_FALSE;
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                          VARIANT child) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (const Label* l = label(child)) {
            RECT r = l->shown(dpiOf(form_));
            MapWindowPoints(form_, nullptr, reinterpret_cast<POINT*>(&r), 2);
            *x = r.left;
            *y = r.top;
            *w = r.right - r.left;
            *h = r.bottom - r.top;
            return S_OK;
        }
        return standard_->accLocation(x, y, w, h, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        const HRESULT hr = standard_->accHitTest(x, y, child);
        // The standard object finds the windows; on the form itself, a label may lie there.
        if (hr != S_OK || child->vt != VT_I4 || child->lVal != CHILDID_SELF) return hr;
        POINT at{x, y};
        ScreenToClient(form_, &at);
        const auto labels = labels_.lock();
        const UINT dpi = dpiOf(form_);
        for (std::size_t i = labels->labels.size(); i-- > 0;) { // the front-most first
            const RECT r = labels->labels[i]->shown(dpi);
            if (PtInRect(&r, at)) {
                child->lVal = firstLabelChildId(form_) + LONG(i);
                return S_OK;
            }
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!connected()) return CO_E_OBJNOTCONNECTED;
        if (label(child)) return DISP_E_MEMBERNOTFOUND;
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool connected() const { return !labels_.expired() && IsWindow(form_); }

    // The label a child id names, or null for the standard object's own ids.
    const Label* label(const VARIANT& child) const {
        if (child.vt != VT_I4) return nullptr;
        const auto labels = labels_.lock();
        if (!labels) return nullptr;
        const long i = child.lVal - firstLabelChildId(form_);
        return i >= 0 && i < long(labels->labels.size()) ? labels->labels[std::size_t(i)] : nullptr;
    }

    // What a call that has nothing to give answers: S_FALSE, its output set to none.
    static HRESULT none(BSTR* out) {
        *out = nullptr;
        return S_FALSE;
    }

    HWND form_;
    IAccessible* standard_;
    std::weak_ptr<const AccessibleLabels> labels_;
    ULONG references_ = 1;
};

} // namespace

LONG firstLabelChildId(HWND form) {
    // The standard client object numbers the form's child windows from 1, in z-order.
    LONG windows = 0;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++windows;
    return windows + 1;
}

namespace {

// The two functions the form's object needs from the accessibility library. It is no known
// system library, so Windows would look for it first beside the program, where pupils may
// be able to write: it is loaded from the system folder alone, once.
struct AccessibilityLibrary {
    decltype(&CreateStdAccessibleObject) createStandard = nullptr;
    decltype(&LresultFromObject) lresultFromObject = nullptr;
};

template <typename Function> Function exported(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const AccessibilityLibrary* accessibilityLibrary() {
    static const AccessibilityLibrary library = [] {
        HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!module) return AccessibilityLibrary{};
        return AccessibilityLibrary{
            exported<decltype(&CreateStdAccessibleObject)>(module, "CreateStdAccessibleObject"),
            exported<decltype(&LresultFromObject)>(module, "LresultFromObject")};
    }();
    return library.createStandard && library.lresultFromObject ? &library : nullptr;
}

} // namespace

bool loadAccessibilityLibrary() {
    return accessibilityLibrary() != nullptr;
}

LRESULT formAccessibleObject(HWND form, WPARAM wParam, LPARAM lParam,
                             const std::shared_ptr<const AccessibleLabels>& labels) {
    const AccessibilityLibrary* library = accessibilityLibrary();
    if (DWORD(lParam) != DWORD(OBJID_CLIENT) || !library) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(library->createStandard(form, OBJID_CLIENT, IID_IAccessible,
                                       reinterpret_cast<void**>(&standard))))
        return 0;
    auto* accessible = new FormAccessible(form, standard, labels);
    const LRESULT result = library->lresultFromObject(IID_IAccessible, wParam, accessible);
    accessible->Release();
    return result;
}

} // namespace ui::win32
