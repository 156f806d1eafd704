// What the program sets on Qt before the form is made: names, version, style and icon.
#pragma once

namespace ui::qt {

void setUpApplication();

} // namespace ui::qt
