#include "ui/qt/label.h"

#include "ui/qt/convert.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace ui::qt {

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

Label::Label(QWidget* form, const FormDescription& description, const ControlDescription& control)
    : view_(new LabelView(form, toQColor(control.back.value_or(description.back)))) {
    view_->setCaption(toQString(control.text));
}

std::u16string Label::caption() const {
    return toU16(view_->caption());
}

void Label::setCaption(const std::u16string& caption) {
    view_->setCaption(toQString(caption));
}

} // namespace ui::qt
