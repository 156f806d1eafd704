// The Win32 binding's window: the form made from its description on the plain Win32
// controls, per-monitor DPI aware, with the labels painted on its own surface and a
// message box for a run-time error. Its keyboard follows the form's tab order.
#pragma once

#include "ui/form_window.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/native.h"

#include <memory>
#include <vector>

namespace ui::win32 {

class Clock;
class Label;
class Windowed;

class FormWindow : public FormWindowBase {
public:
    explicit FormWindow(const FormDescription& description = kestramoForm());
    ~FormWindow() override;

    void reportError(const std::u16string& message) override;
    void announce(const std::u16string& message) override;
    // The unseen live region that announce() speaks through, for tests.
    HWND announcer() const { return announcer_; }

    HWND hwnd() const { return hwnd_; }
    UINT dpi() const { return dpi_; }
    // The window of a control, for tests and tools; null for the windowless ones.
    HWND window(std::string_view name, int16_t index = -1) const;
    Clock& clock() const { return *clock_; }
    // Centres the window on its screen's work area, shows it and focuses the first
    // control of the tab order.
    void showCentred();
    // Handles the form's own keys (Tab, arrows between options, Enter on buttons) before
    // the message is dispatched; true when it was one of them (keyboard.cpp).
    bool preTranslate(const MSG& message);
    // Runs the message loop until the window is closed; returns the exit code.
    static int run(FormWindow& window);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layout();
    void stack();
    void paint(HDC dc, const RECT& area);
    void make(const ControlDescription& c);
    std::vector<Windowed*> tabOrder() const;
    void moveFocus(bool forward);
    // Gives the focus back to the control that had it, or to the first of the tab order.
    void restoreFocus();

    const FormDescription& description_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    std::vector<Label*> labels_;      // back to front, as they are painted
    std::vector<Windowed*> windowed_; // every windowed control
    Clock* clock_ = nullptr;
    bool reporting_ = false;
    // The control that had the focus when the window was last deactivated.
    HWND focused_ = nullptr;
    HWND announcer_ = nullptr;
    std::shared_ptr<AccessibleLabels> accessibleLabels_;
};

} // namespace ui::win32
