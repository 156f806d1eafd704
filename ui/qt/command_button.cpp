#include "ui/qt/command_button.h"

#include "ui/qt/convert.h"

#include <QPainter>
#include <qdrawutil.h>

namespace ui::qt {

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

CommandButton::CommandButton(QWidget* form, const std::u16string& caption)
    : view_(new ButtonView(toQString(caption), form)) {
    QObject::connect(view_, &QPushButton::clicked, view_, [this] {
        if (onClick) onClick();
    });
}

} // namespace ui::qt
