#include "ui/qt/option_button.h"

#include "ui/qt/convert.h"

namespace ui::qt {

OptionButton::OptionButton(QWidget* form, const std::u16string& caption, bool checked)
    : view_(new OptionView(toQString(caption), form)) {
    view_->setBackgroundRole(QPalette::Window);
    view_->setAutoFillBackground(true);
    view_->setChecked(checked);
    QObject::connect(view_, &QRadioButton::clicked, view_, [this] {
        if (onClick) onClick();
    });
}

} // namespace ui::qt
