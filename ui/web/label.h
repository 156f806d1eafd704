// Label: a text on the form, cut off from the bottom by its height.
#pragma once

#include "ui/peers.h"
#include "ui/web/element.h"

namespace ui::web {

class Label : public LabelPeer, public Element {
public:
    explicit Label(const Placement& p);
    std::u16string caption() const override { return caption_; }
    void setCaption(const std::u16string& caption) override;
    float heightTwips() const override { return height_; }
    void setHeightTwips(float twips) override;
    void setHiddenFromReaders(bool hidden) override;

private:
    std::u16string caption_;
    float height_;
};

} // namespace ui::web
