// The Qt binding's window: made from the form's description, with a peer for each
// control, and the toolkit's message box for a run-time error.
#pragma once

#include "ui/form_window.h"

#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui::qt {

class TickClock;

class FormWindow : public FormWindowBase {
public:
    explicit FormWindow(const FormDescription& description = kestramoForm());

    void reportError(const std::u16string& message) override;
    void announce(const std::u16string& message) override;

    QWidget* window() const { return window_.get(); }
    const FormDescription& description() const { return description_; }
    // The widget of a control, for tests and tools.
    QWidget* widget(std::string_view name, int16_t index = -1) const;
    TickClock* clock() const { return clock_; }
    // Places the window in the middle of its screen, shows it and gives the focus to
    // the first control of the tab order.
    void showCentred();

    // What a screen reader is told: an unseen notification, shown anew for each message.
    QWidget* announcer() const { return announcer_; }

private:
    // Makes the control's peer and returns its widget; null for the timer.
    QWidget* create(const ControlDescription& control);
    // The controls that take the focus, by tab index.
    std::vector<QWidget*> tabOrder() const;
    void applyTabOrder();

    const FormDescription& description_;
    // The peers, kept by the base, go after the widgets they drive: the window goes first.
    std::map<std::pair<std::string, int16_t>, QWidget*, std::less<>> widgets_;
    std::unique_ptr<QWidget> window_;
    TickClock* clock_ = nullptr;
    QWidget* announcer_ = nullptr;
};

} // namespace ui::qt
