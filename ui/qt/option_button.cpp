#include "ui/qt/option_button.h"

#include "ui/qt/convert.h"

#include <QAccessibleWidget>
#include <QKeyEvent>

namespace ui::qt {

namespace {

// What a screen reader, switch access or voice control sees of an option: a radio button
// whose press and toggle actions both click it, exactly as the mouse and keys do.
class OptionAccessible : public QAccessibleWidget {
public:
    explicit OptionAccessible(OptionView* option)
        : QAccessibleWidget(option, QAccessible::RadioButton) {}

    QString text(QAccessible::Text kind) const override {
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty()) text = button()->text();
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{toggleAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == toggleAction() || action == pressAction()) {
            if (button()->isEnabled()) button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QRadioButton* button() const { return static_cast<QRadioButton*>(widget()); }
};

QAccessibleInterface* optionAccessible(const QString&, QObject* object) {
    auto* option = qobject_cast<OptionView*>(object);
    return option ? new OptionAccessible(option) : nullptr;
}

} // namespace

OptionView::OptionView(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    static const bool installed = (QAccessible::installFactory(optionAccessible), true);
    Q_UNUSED(installed);
}

void OptionView::keyPressEvent(QKeyEvent* event) {
    // The options stand one above the other, where Qt looks only up and down.
    const int key = event->key() == Qt::Key_Left    ? Qt::Key_Up
                    : event->key() == Qt::Key_Right ? Qt::Key_Down
                                                    : event->key();
    if (key == event->key()) return QRadioButton::keyPressEvent(event);
    QKeyEvent moved(event->type(), key, event->modifiers(), event->text(), event->isAutoRepeat(),
                    ushort(event->count()));
    QRadioButton::keyPressEvent(&moved);
    event->setAccepted(moved.isAccepted());
}

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
