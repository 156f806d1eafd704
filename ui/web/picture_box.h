// PictureBox: a canvas in a sunken box; its fills stay until it is cleared.
#pragma once

#include "ui/peers.h"
#include "ui/web/element.h"

namespace ui::web {

class PictureBox : public PictureBoxPeer, public Element {
public:
    explicit PictureBox(const Placement& p);
    float widthTwips() const override { return width_; }
    float heightTwips() const override { return height_; }
    void clear() override;
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override;
    void setAccessibleName(const std::u16string& name) override;

private:
    float width_, height_;
};

} // namespace ui::web
