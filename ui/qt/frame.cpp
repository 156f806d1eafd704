#include "ui/qt/frame.h"

#include "ui/qt/convert.h"

#include <QPainter>

namespace ui::qt {

FrameView::FrameView(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void FrameView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect border(0, top, width() - 1, height() - top - 1);
    // An etched line: a dark line with a light one beside it.
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(border.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(border.adjusted(1, 1, 0, 0));
    const int captionWidth = metrics.horizontalAdvance(title());
    const QRect caption(8, 0, captionWidth + 4, metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

Frame::Frame(QWidget* form, const std::u16string& caption)
    : view_(new FrameView(toQString(caption), form)) {}

} // namespace ui::qt
