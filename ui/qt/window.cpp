#include "ui/qt/window.h"

#include "ui/qt/command_button.h"
#include "ui/qt/convert.h"
#include "ui/qt/frame.h"
#include "ui/qt/label.h"
#include "ui/qt/list_box.h"
#include "ui/qt/option_button.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/scroll_bar.h"
#include "ui/qt/text_box.h"
#include "ui/qt/tick_clock.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <stdexcept>

namespace ui::qt {

namespace {

QRect pixels(const ControlDescription& control) {
    return QRect(twipsToPixels(control.left), twipsToPixels(control.top),
                 twipsToPixels(control.width), twipsToPixels(control.height));
}

// The form's colours are fixed, so its fore colours are too: a desktop's dark scheme would
// put near-white text on its pastel backs. Every widget takes the light palette that Qt's
// Fusion style has where no desktop scheme applies (the style's own standard palette
// follows the desktop's scheme, so it is spelt out here), on the form's back colour.
QPalette formPalette(const QColor& form) {
    const QColor back(239, 239, 239);
    const QColor text = Qt::black;
    const QColor dark = back.darker(150);
    const QColor mid = back.darker(130);
    const QColor shadow = dark.darker(135);
    QPalette palette(text, back, back.lighter(150), dark, mid, text, Qt::white);
    palette.setBrush(QPalette::Midlight, mid.lighter(110));
    palette.setBrush(QPalette::Button, back);
    palette.setBrush(QPalette::Shadow, shadow);
    palette.setBrush(QPalette::HighlightedText, Qt::white);
    const QColor disabledText(190, 190, 190);
    palette.setBrush(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setBrush(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setBrush(QPalette::Disabled, QPalette::ButtonText, disabledText);
    palette.setBrush(QPalette::Disabled, QPalette::Base, back);
    palette.setBrush(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
    palette.setBrush(QPalette::Disabled, QPalette::Shadow, shadow.lighter(150));
    palette.setBrush(QPalette::Active, QPalette::Highlight, QColor(48, 140, 198));
    palette.setBrush(QPalette::Inactive, QPalette::Highlight, QColor(48, 140, 198));
    palette.setBrush(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    QColor placeholder = text;
    placeholder.setAlpha(128);
    palette.setBrush(QPalette::PlaceholderText, placeholder);
    palette.setBrush(QPalette::Window, form);
    return palette;
}

void paintBack(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The form's window is a frame to a screen reader, named by its caption (a plain top-level
// widget is otherwise a filler with no title bar to read); the announcer a notification,
// which a screen reader speaks each time it shows.
constexpr char kRole[] = "kestramoRole";

QAccessibleInterface* formAccessible(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget ? widget->property(kRole) : QVariant();
    return role.isValid() ? new QAccessibleWidget(widget, QAccessible::Role(role.toInt()))
                          : nullptr;
}

} // namespace

FormWindow::FormWindow(const FormDescription& description)
    : description_(description),
      window_(std::make_unique<QWidget>(
          nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)) {
    window_->setObjectName(QString::fromStdString(description.name));
    window_->setWindowTitle(toQString(description.caption));
    window_->setFixedSize(twipsToPixels(description.clientWidth),
                          twipsToPixels(description.clientHeight));
    window_->setFont(toQFont(description.font));
    window_->setPalette(formPalette(toQColor(description.back)));
    window_->setAutoFillBackground(true);
    static const bool installed = (QAccessible::installFactory(formAccessible), true);
    Q_UNUSED(installed);
    window_->setProperty(kRole, int(QAccessible::Window));
    // Unseen: a pixel in the corner that paints nothing and takes no input.
    announcer_ = new QWidget(window_.get());
    announcer_->setObjectName(QStringLiteral("announcer"));
    announcer_->setProperty(kRole, int(QAccessible::Notification));
    announcer_->setGeometry(0, 0, 1, 1);
    announcer_->setAttribute(Qt::WA_TransparentForMouseEvents);
    announcer_->setFocusPolicy(Qt::NoFocus);

    // Made from the back of the drawing order to the front: Qt stacks later siblings above.
    const auto& controls = description.controls;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        widgets_[{it->name, it->index}] = create(*it);
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if (it->container.empty()) continue;
        QWidget* widget = this->widget(it->name, it->index);
        widget->setParent(this->widget(it->container));
        widget->setGeometry(pixels(*it));
        widget->setVisible(it->visible);
    }
    applyTabOrder();
}

QWidget* FormWindow::create(const ControlDescription& control) {
    QWidget* const form = window_.get();
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Timer: {
        // Owned by the peer map, not by the window's QObject tree.
        auto clock = std::make_unique<TickClock>(nullptr);
        clock->setInterval(control.interval);
        clock_ = &keep(control, std::move(clock));
        return nullptr;
    }
    case ControlKind::Label:
        widget = keep(control, std::make_unique<Label>(form, description_, control)).view();
        break;
    case ControlKind::ListBox: {
        auto list = std::make_unique<ListBox>(form);
        for (const std::u16string& item : control.items)
            list->addItem(item);
        widget = keep(control, std::move(list)).view();
        break;
    }
    case ControlKind::CommandButton:
        widget = keep(control, std::make_unique<CommandButton>(form, control.text)).view();
        break;
    case ControlKind::Frame:
        widget = keep(control, std::make_unique<Frame>(form, control.text)).view();
        break;
    case ControlKind::OptionButton:
        widget = keep(control, std::make_unique<OptionButton>(form, control.text, control.checked))
                     .view();
        break;
    case ControlKind::PictureBox:
        widget = keep(control, std::make_unique<PictureBox>(form)).view();
        break;
    case ControlKind::HScrollBar:
        widget = keep(control, std::make_unique<ScrollBar>(form, control.range)).view();
        break;
    case ControlKind::TextBox:
        widget = keep(control, std::make_unique<TextBox>(form)).view();
        break;
    }
    const QString name = QString::fromStdString(control.name);
    widget->setObjectName(
        control.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(control.index));
    widget->setGeometry(pixels(control));
    widget->setFont(toQFont(fontOf(description_, control)));
    widget->setPalette(formPalette(toQColor(description_.back)));
    if (control.back && control.kind != ControlKind::Label) {
        const bool button = control.kind == ControlKind::CommandButton;
        paintBack(widget, button ? QPalette::Button : QPalette::Window, toQColor(*control.back));
    }
    if (!control.accessibleName.empty())
        widget->setAccessibleName(toQString(control.accessibleName));
    widget->setAccessibleDescription(toQString(control.role));
    widget->setVisible(control.visible);
    if (auto* label = dynamic_cast<LabelView*>(widget))
        label->setHeightTwips(float(control.height));
    return widget;
}

QWidget* FormWindow::widget(std::string_view name, int16_t index) const {
    const auto found = widgets_.find(std::pair<std::string, int16_t>(name, index));
    return found == widgets_.end() ? nullptr : found->second;
}

void FormWindow::reportError(const std::u16string& message) {
    QMessageBox::critical(window_.get(), window_->objectName(), toQString(message));
}

void FormWindow::announce(const std::u16string& message) {
    announcer_->setAccessibleName(toQString(message));
    if (!QAccessible::isActive()) return;
    QAccessibleEvent shown(announcer_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

std::vector<QWidget*> FormWindow::tabOrder() const {
    std::vector<std::pair<int, QWidget*>> order;
    for (const ControlDescription& control : description_.controls) {
        if (control.tabIndex < 0) continue;
        QWidget* widget = this->widget(control.name, control.index);
        if (widget && (widget->focusPolicy() & Qt::TabFocus))
            order.emplace_back(control.tabIndex, widget);
    }
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QWidget*> widgets;
    for (const auto& entry : order)
        widgets.push_back(entry.second);
    return widgets;
}

void FormWindow::applyTabOrder() {
    const std::vector<QWidget*> order = tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FormWindow::showCentred() {
    const auto centre = [this] {
        QScreen* screen = window_->screen() ? window_->screen() : QApplication::primaryScreen();
        if (!screen) return;
        const QRect work = screen->availableGeometry();
        const QRect frame = window_->frameGeometry();
        const ScreenPoint origin = windowOrigin({work.x(), work.y(), work.width(), work.height()},
                                                frame.width(), frame.height());
        window_->move(origin.x, origin.y);
    };
    centre();
    window_->show();
    // The frame's size is known only once the window is shown.
    centre();
    // The first control of the tab order that can take the focus holds it at start.
    for (QWidget* widget : tabOrder()) {
        if (widget->isVisibleTo(window_.get()) && widget->isEnabled()) {
            widget->setFocus();
            break;
        }
    }
}

} // namespace ui::qt
