#include "ui/win32/accessibility.h"

#include <initguid.h> // the annotation service's identifiers are defined here

#include <oleacc.h>

namespace ui::win32 {

bool annotate(HWND control, const std::u16string& name, const std::u16string& description) {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        return false;
    bool done = SUCCEEDED(services->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                                   PROPID_ACC_NAME, wide(name)));
    if (!description.empty())
        done =
            done && SUCCEEDED(services->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                                       PROPID_ACC_DESCRIPTION, wide(description)));
    services->Release();
    return done;
}

} // namespace ui::win32

#include "ui/win32/label.h"

namespace ui::win32 {

namespace {

// Delegates to the standard client object; child ids past its own children are labels.
class FormAccessible final : public IAccessible {
public:
    FormAccessible(HWND form, IAccessible* standard, std::vector<const Label*> labels)
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
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override {
        return standard_->GetTypeInfo(i, l, t);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l,
                                            DISPID* d) override {
        return standard_->GetIDsOfNames(r, n, c, l, d);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v,
                                     EXCEPINFO* e, UINT* a) override {
        return standard_->Invoke(d, r, l, f, p, v, e, a);
    }
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        const HRESULT hr = standard_->get_accChildCount(count);
        if (SUCCEEDED(hr)) *count += long(labels_.size());
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (label(child)) {
            *out = nullptr;
            return S_FALSE; // a simple element: no object of its own
        }
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (const Label* l = label(child)) {
            const std::u16string caption = l->caption();
            *name = SysAllocStringLen(wide(caption), UINT(caption.size()));
            return S_OK;
        }
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (label(child)) return DISP_E_MEMBERNOTFOUND;
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        if (const Label* l = label(child)) {
            const std::u16string& role = l->description().role;
            *text = SysAllocStringLen(wide(role), UINT(role.size()));
            return S_OK;
        }
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (label(child)) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_STATICTEXT;
            return S_OK;
        }
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (label(child)) {
            state->vt = VT_I4;
            state->lVal = STATE_SYSTEM_READONLY;
            return S_OK;
        }
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        if (label(child)) return S_FALSE;
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (label(child)) return S_FALSE;
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* key) override {
        if (label(child)) return S_FALSE;
        return standard_->get_accKeyboardShortcut(child, key);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (label(child)) return S_FALSE;
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (label(child)) return S_FALSE;
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                          VARIANT child) override {
        if (const Label* l = label(child)) {
            RECT r = l->area(dpiOf(form_));
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
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (label(child)) return DISP_E_MEMBERNOTFOUND;
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // The label a child id names, or null for the standard object's own ids.
    const Label* label(const VARIANT& child) const {
        if (child.vt != VT_I4) return nullptr;
        long windowed = 0;
        if (FAILED(standard_->get_accChildCount(&windowed))) return nullptr;
        const long i = child.lVal - windowed - 1;
        return i >= 0 && i < long(labels_.size()) ? labels_[std::size_t(i)] : nullptr;
    }

    HWND form_;
    IAccessible* standard_;
    std::vector<const Label*> labels_;
    ULONG references_ = 1;
};

} // namespace

LRESULT formAccessibleObject(HWND form, WPARAM wParam, LPARAM lParam,
                             const std::vector<const Label*>& labels) {
    if (DWORD(lParam) != DWORD(OBJID_CLIENT)) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(form, OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&standard))))
        return 0;
    auto* accessible = new FormAccessible(form, standard, labels);
    const LRESULT result = LresultFromObject(IID_IAccessible, wParam, accessible);
    accessible->Release();
    return result;
}

} // namespace ui::win32
