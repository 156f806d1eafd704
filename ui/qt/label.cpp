#include "ui/qt/label.h"

#include "ui/qt/convert.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace ui::qt {

namespace {

// Screen readers see a label as static text named by its caption; a label named in the
// form's description (the counter) is read by that name, with its caption as its value.
// A label hidden under another is not read at all.
class LabelAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit LabelAccessible(LabelView* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface && named())
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    // The counter's number, read only.
    QVariant currentValue() const override { return view()->caption().toDouble(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 32767; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
    QString text(QAccessible::Text kind) const override {
        const LabelView* label = view();
        if (label->hiddenFromReaders() && kind != QAccessible::Description) return {};
        if (kind == QAccessible::Name) return named() ? label->accessibleName() : label->caption();
        if (kind == QAccessible::Value) return named() ? label->caption() : QString();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (view()->hiddenFromReaders()) state.invisible = true;
        return state;
    }

private:
    LabelView* view() const { return static_cast<LabelView*>(widget()); }
    bool named() const { return !view()->accessibleName().isEmpty(); }
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
    // The accessible name (or, for the counter, the value) is read from the caption; tell a
    // listening screen reader only.
    if (QAccessible::isActive()) {
        if (accessibleName().isEmpty()) {
            QAccessibleEvent changed(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&changed);
        } else {
            QAccessibleValueChangeEvent changed(this, caption.toDouble());
            QAccessible::updateAccessibility(&changed);
        }
    }
    update();
}

void LabelView::setHiddenFromReaders(bool hidden) {
    if (hidden == hiddenFromReaders_) return;
    hiddenFromReaders_ = hidden;
    if (QAccessible::isActive()) {
        QAccessible::State invisible;
        invisible.invisible = true;
        QAccessibleStateChangeEvent state(this, invisible);
        QAccessible::updateAccessibility(&state);
        QAccessibleEvent name(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
    }
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
