// ListBox: the rows, the choice and whether it takes input are kept by the program; the
// page draws them as told and reports the row the user chose.
#pragma once

#include "ui/kept_controls.h"
#include "ui/web/element.h"

namespace ui::web {

class ListBox : public KeptListBox, public Element {
public:
    explicit ListBox(const Placement& p);
    void setAccessibleDescription(const std::u16string& text) override;
    void selected(int row) override { choose(row); }

private:
    void drawAdded(const std::u16string& text) override;
    void drawCleared() override;
    void drawItem(int32_t index, const std::u16string& text) override;
    void drawSelected(int32_t row) override;
    void drawVisible(bool visible) override;
    void drawEnabled(bool enabled) override;
};

} // namespace ui::web
