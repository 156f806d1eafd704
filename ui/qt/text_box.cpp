#include "ui/qt/text_box.h"

#include "ui/qt/convert.h"

namespace ui::qt {

TextBox::TextBox(QWidget* form) : view_(new QPlainTextEdit(form)) {
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setFocusPolicy(Qt::StrongFocus);
    // Tab moves to the next control instead of being typed.
    view_->setTabChangesFocus(true);
}

void TextBox::setText(const std::u16string& text) {
    // Shown with plain line feeds, so that no stray glyph stands for the CR; every line end
    // stays, the closing one too, so the caret reaches the empty line after the last.
    QString shown = toQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    view_->setPlainText(shown);
}

} // namespace ui::qt
