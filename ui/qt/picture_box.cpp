#include "ui/qt/picture_box.h"

#include "ui/qt/convert.h"

#include <QAccessibleWidget>
#include <QPainter>

#include <cmath>

namespace ui::qt {

namespace {

// A screen reader sees the bar as a picture, named by what it shows (the pace).
QAccessibleInterface* pictureAccessible(const QString&, QObject* object) {
    auto* picture = dynamic_cast<PictureView*>(object);
    return picture ? new QAccessibleWidget(picture, QAccessible::Graphic) : nullptr;
}

} // namespace

PictureView::PictureView(QWidget* parent) : QFrame(parent) {
    static const bool installed = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(installed);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::NoFocus);
}

void PictureView::clear() {
    fills_.clear();
    update();
}

void PictureView::fillBox(const QRectF& twips, const QColor& colour) {
    const QRectF box = twips.normalized();
    const QRectF inside(0, 0, contentsRect().width() * kTwipsPerPixel,
                        contentsRect().height() * kTwipsPerPixel);
    // A fill that covers the whole inside hides all before it: no need to keep those.
    if (box.contains(inside)) fills_.clear();
    fills_.push_back({box, colour});
    update();
}

void PictureView::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QRect inside = contentsRect();
        painter.fillRect(inside, palette().color(QPalette::Button));
        // Fills are drawn in device pixels from the twip coordinates, so the bar stays
        // sharp on high-resolution screens.
        const qreal dpr = devicePixelRatioF();
        painter.setClipRect(inside);
        painter.scale(1 / dpr, 1 / dpr);
        const auto device = [dpr](double twips) {
            return int(std::lround(twips * dpr / kTwipsPerPixel));
        };
        const int originX = int(std::lround(inside.x() * dpr));
        const int originY = int(std::lround(inside.y() * dpr));
        for (const Fill& fill : fills_) {
            const int left = originX + device(fill.twips.left());
            const int top = originY + device(fill.twips.top());
            const int right = originX + device(fill.twips.right());
            const int bottom = originY + device(fill.twips.bottom());
            painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), fill.colour);
        }
    }
    QFrame::paintEvent(event);
}

void PictureBox::fillBox(double x1, double y1, double x2, double y2, Colour colour) {
    view_->fillBox(QRectF(QPointF(x1, y1), QPointF(x2, y2)), toQColor(colour));
}

void PictureBox::setAccessibleName(const std::u16string& name) {
    view_->setAccessibleName(toQString(name));
}

} // namespace ui::qt
