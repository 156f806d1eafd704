// HScrollBar: the range, the value and what each request of the user changes are kept by
// the program; the page draws the thumb where it is told and reports what was asked.
#pragma once

#include "ui/kept_controls.h"
#include "ui/web/element.h"

namespace ui::web {

class ScrollBar : public KeptScrollBar, public Element {
public:
    explicit ScrollBar(const Placement& p);
    void stepLine(int sign) override {
        request(sign < 0 ? ScrollRequest::LineLess : ScrollRequest::LineMore);
    }
    void stepPage(int sign) override {
        request(sign < 0 ? ScrollRequest::PageLess : ScrollRequest::PageMore);
    }
    void toEnd(int sign) override { request(sign < 0 ? ScrollRequest::Start : ScrollRequest::End); }
    void thumbAt(int value) override { request(ScrollRequest::Thumb, value); }
    void setValueText(const std::u16string& text) override;

private:
    void show() override;
};

} // namespace ui::web
