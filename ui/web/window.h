// The web binding's window: the form made on the page from its description, one element
// per control, and a modal report for a run-time error.
#pragma once

#include "ui/form_window.h"
#include "ui/web/dom.h"

namespace ui::web {

class FormWindow : public FormWindowBase {
public:
    explicit FormWindow(const FormDescription& description = kestramoForm());

    // The page shows the report and takes no other input until it is closed; the run
    // that failed has stopped, so nothing waits on the user's answer here.
    void reportError(const std::u16string& message) override;
    void announce(const std::u16string& message) override { page::announce(message); }
    // Shows the form and focuses the first control of the tab order.
    void show() { page::show(); }
};

} // namespace ui::web
