// The Windows program's entry: makes the window from the form's description on the plain
// Win32 controls, binds the form Kestramo to it and runs the message loop.
#include "app/kestramo.h"
#include "ui/win32/window.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Every library loaded from here on comes from the system folder, never from beside
    // the program, a folder pupils may be able to write to.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The program takes no command line. Common controls 6 and per-monitor DPI awareness
    // come from the manifest.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The accessibility layer's annotation service is a COM object.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ui::win32::FormWindow window;
    Kestramo form(window);
    window.showCentred();
    return ui::win32::FormWindow::run(window);
}
