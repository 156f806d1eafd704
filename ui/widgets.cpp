#include "ui/widgets.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Screen readers see a label as static text named by its caption.
class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(LabelView* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return static_cast<LabelView*>(widget())->caption();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* labelAccessible(const QString&, QObject* object) {
    auto* label = dynamic_cast<LabelView*>(object);
    return label ? new LabelAccessible(label) : nullptr;
}

} // namespace

LabelView::LabelView(QWidget* parent, const QColor& back) : QWidget(parent), back_(back) {
    static const bool installed = (QAccessible::installFactory(labelAccessible), true);
    Q_UNUSED(installed);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void LabelView::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    // The accessible name is read from the caption; tell a listening screen reader only.
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    update();
}

void LabelView::setHeightTwips(float twips) {
    heightTwips_ = twips;
    // The widget spans every pixel the label touches; paintEvent trims to device pixels.
    const int logical = int(std::ceil(double(twips) / kTwipsPerPixel));
    if (logical != height()) resize(width(), logical);
    update();
}

int LabelView::shownDeviceHeight() const {
    return int(std::lround(double(heightTwips_) / kTwipsPerPixel * devicePixelRatioF()));
}

QStringList LabelView::wrappedLines() const {
    const QFontMetricsF metrics(font());
    const QStringList words = caption_.split(QLatin1Char(' '));
    QStringList lines;
    QString line;
    bool first = true;
    for (const QString& word : words) {
        if (first) {
            line = word;
            first = false;
            continue;
        }
        const QString candidate = line + QLatin1Char(' ') + word;
        // Break only between words that both have text; runs of blanks stay on the line.
        if (metrics.horizontalAdvance(candidate) <= width() || line.trimmed().isEmpty() ||
            word.isEmpty()) {
            line = candidate;
        } else {
            lines << line;
            line = word;
        }
    }
    lines << line;
    return lines;
}

void LabelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal dpr = devicePixelRatioF();
    const QRectF shown(0, 0, width(), shownDeviceHeight() / dpr);
    painter.setClipRect(shown);
    painter.fillRect(shown, back_);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetricsF metrics(font());
    qreal baseline = metrics.ascent();
    for (const QString& line : wrappedLines()) {
        const qreal x = (width() - metrics.horizontalAdvance(line)) / 2.0;
        painter.drawText(QPointF(x, baseline), line);
        baseline += metrics.lineSpacing();
    }
}

void ListView::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    if (selectedItems().isEmpty()) selectionModel()->clearCurrentIndex();
}

void ScrollView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    default:
        QScrollBar::keyPressEvent(event);
    }
}

ButtonView::ButtonView(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // Enter presses the focused button, as Space does.
    setAutoDefault(true);
}

void ButtonView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool down = isDown();
    const QBrush face = palette().brush(QPalette::Button);
    qDrawWinButton(&painter, rect(), palette(), down, &face);
    const QRect inside = rect().adjusted(3, 3, -3, -3).translated(down ? 1 : 0, down ? 1 : 0);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(inside, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (hasFocus()) {
        QPen dotted(palette().color(QPalette::ButtonText), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(inside.adjusted(1, 1, -2, -2));
    }
}

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

PictureView::PictureView(QWidget* parent) : QFrame(parent) {
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

} // namespace ui
