// The web binding's window: the form made on the page from its description, one element
// per control, and a modal report for a run-time error.
#pragma once

#include "ui/form_description.h"
#include "ui/peers.h"
#include "ui/web/dom.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui::web {

class OptionButton;

class FormWindow : public FormPeer {
public:
    explicit FormWindow(const FormDescription& description = kestramoForm());
    ~FormWindow() override;

    ControlPeer& control(std::string_view name, int16_t index) override;
    // The page shows the report and takes no other input until it is closed; the run
    // that failed has stopped, so nothing waits on the user's answer here.
    void reportError(const std::u16string& message) override;
    void announce(const std::u16string& message) override { page::announce(message); }
    // Shows the form and focuses the first control of the tab order.
    void show();

private:
    std::map<std::pair<std::string, int16_t>, std::unique_ptr<ControlPeer>, std::less<>> controls_;
    std::map<std::string, std::vector<OptionButton*>> groups_;
};

} // namespace ui::web
