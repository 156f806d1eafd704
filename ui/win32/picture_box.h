// PictureBox: a window with the default 3-D border whose fills live in an off-screen
// bitmap, kept through repaints until Cls. The fills are kept in twips too, to draw the
// bitmap again when the window moves to a screen of another DPI.
#pragma once

#include "ui/peers.h"
#include "ui/win32/windowed.h"

#include <vector>

namespace ui::win32 {

class PictureBox : public PictureBoxPeer, public Windowed {
public:
    PictureBox(HWND form, const FormDescription& f, const ControlDescription& c);
    ~PictureBox() override;

    float widthTwips() const override;
    float heightTwips() const override;
    void clear() override;
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override;
    void setAccessibleName(const std::u16string& name) override;

    void layout(UINT dpi, POINT origin) override;
    void paint(HDC dc) const;
    // The window class, registered once.
    static const wchar_t* windowClass();

private:
    struct Fill {
        double x1, y1, x2, y2;
        Colour colour;
    };
    void redraw();
    void draw(const Fill& fill);

    UINT dpi_ = 96;
    std::vector<Fill> fills_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

} // namespace ui::win32
