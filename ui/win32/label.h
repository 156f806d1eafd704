// Label: windowless, painted by the form on its own surface under every windowed
// control: an opaque box with the caption centred from the top edge, wrapped at blanks.
// Its height is held in twips and shown cut at device pixels.
#pragma once

#include "ui/peers.h"
#include "ui/win32/native.h"

namespace ui::win32 {

class Label : public LabelPeer {
public:
    Label(HWND form, const FormDescription& formDescription, const ControlDescription& control);
    ~Label() override;

    std::u16string caption() const override { return caption_; }
    void setCaption(const std::u16string& caption) override;
    float heightTwips() const override { return height_; }
    void setHeightTwips(float twips) override;
    void setHiddenFromReaders(bool hidden) override;
    bool hiddenFromReaders() const { return hiddenFromReaders_; }

    // Paints the label on the form's surface at the form's DPI.
    void paint(HDC dc, UINT dpi) const;
    // The part of the form the label covers at its full design height, in device pixels.
    RECT area(UINT dpi) const;
    // The part it shows now: cut from the bottom by its height.
    RECT shown(UINT dpi) const;
    // The label's child id in the form's accessible object, for its name-change event.
    void setAccessibleId(LONG id) { accessibleId_ = id; }
    void setDpi(UINT dpi);
    const ControlDescription& description() const { return control_; }

private:
    void invalidate() const;

    HWND form_;
    const FormDescription& formDescription_;
    const ControlDescription& control_;
    std::u16string caption_;
    float height_;
    HFONT font_ = nullptr;
    UINT dpi_ = 0;
    LONG accessibleId_ = CHILDID_SELF;
    bool hiddenFromReaders_ = false;
};

} // namespace ui::win32
