#include "ui/win32/accessibility.h"

#include <initguid.h> // the annotation service's identifiers are defined here

#include <oleacc.h>

namespace ui::win32 {

namespace {

// The annotation service, or nothing where the system has none (Wine 8).
IAccPropServices* propertyServices() {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        return nullptr;
    return services;
}

bool setProperty(HWND control, const MSAAPROPID& property, VARIANT value) {
    IAccPropServices* services = propertyServices();
    if (!services) return false;
    const bool done = SUCCEEDED(
        services->SetHwndProp(control, DWORD(OBJID_CLIENT), CHILDID_SELF, property, value));
    services->Release();
    return done;
}

bool setText(HWND control, const MSAAPROPID& property, const std::u16string& text) {
    IAccPropServices* services = propertyServices();
    if (!services) return false;
    const bool done = SUCCEEDED(
        services->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, property, wide(text)));
    services->Release();
    return done;
}

// UI Automation's LiveSetting property, reached through the annotation service.
const GUID kLiveSetting = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr long kPolite = 1;

} // namespace

bool annotate(HWND control, const std::u16string& name, const std::u16string& description) {
    const bool named = setText(control, PROPID_ACC_NAME, name);
    return named && (description.empty() || setText(control, PROPID_ACC_DESCRIPTION, description));
}

bool annotateRole(HWND control, long role) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = role;
    return setProperty(control, PROPID_ACC_ROLE, value);
}

bool annotateValue(HWND control, const std::u16string& text) {
    return setText(control, PROPID_ACC_VALUE, text);
}

bool annotateLiveRegion(HWND control) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = kPolite;
    return setProperty(control, kLiveSetting, value);
}

} // namespace ui::win32
