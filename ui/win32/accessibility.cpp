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
