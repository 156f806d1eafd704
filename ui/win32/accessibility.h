// What screen readers (Narrator, NVDA) read of the controls that have no text of their
// own to be named by: a Bulgarian name and description set on the window through the
// accessibility layer's dynamic annotation.
#pragma once

#include "ui/win32/native.h"

#include <string>

namespace ui::win32 {

// False where the system offers no annotation service.
bool annotate(HWND control, const std::u16string& name, const std::u16string& description);

} // namespace ui::win32
