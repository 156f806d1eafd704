// Frame: a group box, filled in its back colour under the options on it.
#pragma once

#include "ui/win32/windowed.h"

namespace ui::win32 {

class Frame : public FramePeer, public Windowed {
public:
    Frame(HWND form, const FormDescription& f, const ControlDescription& c);
};

} // namespace ui::win32
