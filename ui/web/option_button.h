// OptionButton: which option of a frame is chosen is kept by the program; the page's radio
// buttons, grouped by the name the program gives them, show it as told.
#pragma once

#include "ui/kept_controls.h"
#include "ui/web/element.h"

namespace ui::web {

class OptionButton : public KeptOptionButton, public Element {
public:
    explicit OptionButton(const Placement& p);
    void clicked() override { choose(); }

private:
    void drawChecked(bool checked) override;
};

} // namespace ui::web
