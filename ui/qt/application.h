// What the program sets on Qt around the form: the platform it runs on, names, version,
// style, icon and the toolkit's own texts in Bulgarian.
#pragma once

namespace ui::qt {

// Before the application object: on a Wayland session that also offers X, and where the
// user chose no platform, run through X, where the window keeps its fixed frame with
// a close box only, its whole caption and its place in the middle of the screen.
void choosePlatform();

void setUpApplication();

// Loads Qt's own Bulgarian texts (menus, dialog buttons); false when they are missing.
bool loadToolkitTranslations();

} // namespace ui::qt
