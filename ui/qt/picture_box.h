// PictureBox: a box with a sunken 3-D border that keeps what was filled into it, in its
// own twip coordinates from the top-left of its inside, until it is cleared.
#pragma once

#include "ui/peers.h"

#include <QColor>
#include <QFrame>
#include <QRectF>

#include <vector>

namespace ui::qt {

class PictureView : public QFrame {
public:
    explicit PictureView(QWidget* parent);

    void clear();
    void fillBox(const QRectF& twips, const QColor& colour);
    std::size_t fillCount() const { return fills_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Fill {
        QRectF twips;
        QColor colour;
    };
    std::vector<Fill> fills_;
};

class PictureBox : public PictureBoxPeer {
public:
    explicit PictureBox(QWidget* form) : view_(new PictureView(form)) {}
    float widthTwips() const override { return float(view_->width() * kTwipsPerPixel); }
    float heightTwips() const override { return float(view_->height() * kTwipsPerPixel); }
    void clear() override { view_->clear(); }
    void fillBox(double x1, double y1, double x2, double y2, Colour colour) override;
    void setAccessibleName(const std::u16string& name) override;
    PictureView* view() const { return view_; }

private:
    PictureView* view_;
};

} // namespace ui::qt
