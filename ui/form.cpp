#include "ui/form.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace ui {

namespace {

QRect pixels(const ControlDescription& control) {
    return QRect(twipsToPixels(control.left), twipsToPixels(control.top),
                 twipsToPixels(control.width), twipsToPixels(control.height));
}

void paintBack(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace

FormWindow::FormWindow(const FormDescription& description)
    : description_(description),
      window_(std::make_unique<QWidget>(
          nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)) {
    window_->setObjectName(description.name);
    window_->setWindowTitle(description.caption);
    window_->setFixedSize(twipsToPixels(description.clientWidth),
                          twipsToPixels(description.clientHeight));
    window_->setFont(formFont(description, description.fontPoints));
    paintBack(window_.get(), QPalette::Window, description.back);
    window_->setAutoFillBackground(true);

    // Made from the back of the drawing order to the front: Qt stacks later siblings above.
    const auto& controls = description.controls;
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        QWidget* widget = create(*it);
        if (widget) widgets_[{it->name, it->index}] = widget;
    }
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if (it->container.isEmpty()) continue;
        QWidget* widget = widgets_.at({it->name, it->index});
        widget->setParent(widgets_.at({it->container, -1}));
        widget->setGeometry(pixels(*it));
        widget->setVisible(it->visible);
    }
    applyTabOrder();
}

FormWindow::~FormWindow() = default;

QWidget* FormWindow::create(const ControlDescription& control) {
    QWidget* const form = window_.get();
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Timer:
        clock_ = new TickClock(form);
        clock_->setInterval(control.interval);
        return nullptr;
    case ControlKind::Label: {
        auto* label = new LabelView(form, control.back.value_or(description_.back));
        label->setCaption(control.text);
        widget = label;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new ListView(form);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->addItems(control.items);
        widget = list;
        break;
    }
    case ControlKind::CommandButton:
        widget = new ButtonView(control.text, form);
        break;
    case ControlKind::Frame:
        widget = new FrameView(control.text, form);
        break;
    case ControlKind::OptionButton: {
        auto* option = new OptionView(control.text, form);
        option->setBackgroundRole(QPalette::Window);
        option->setAutoFillBackground(true);
        option->setChecked(control.checked);
        widget = option;
        break;
    }
    case ControlKind::PictureBox:
        widget = new PictureView(form);
        break;
    case ControlKind::HScrollBar: {
        auto* bar = new ScrollView(form);
        bar->setRange(control.range.min, control.range.max);
        bar->setValue(control.range.value);
        bar->setSingleStep(control.range.smallChange);
        bar->setPageStep(control.range.largeChange);
        bar->setFocusPolicy(Qt::StrongFocus);
        widget = bar;
        break;
    }
    case ControlKind::TextBox: {
        auto* box = new QPlainTextEdit(form);
        box->setReadOnly(true);
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setFocusPolicy(Qt::StrongFocus);
        // Tab moves to the next control instead of being typed.
        box->setTabChangesFocus(true);
        widget = box;
        break;
    }
    }
    widget->setObjectName(control.index < 0
                              ? control.name
                              : QStringLiteral("%1(%2)").arg(control.name).arg(control.index));
    widget->setGeometry(pixels(control));
    widget->setFont(
        formFont(description_, control.fontPoints ? control.fontPoints : description_.fontPoints));
    if (control.back && control.kind != ControlKind::Label) {
        const bool button = control.kind == ControlKind::CommandButton;
        paintBack(widget, button ? QPalette::Button : QPalette::Window, *control.back);
    }
    if (!control.accessibleName.isEmpty()) widget->setAccessibleName(control.accessibleName);
    widget->setAccessibleDescription(control.role);
    widget->setVisible(control.visible);
    if (auto* label = dynamic_cast<LabelView*>(widget))
        label->setHeightTwips(float(control.height));
    return widget;
}

std::vector<QWidget*> FormWindow::tabOrder() const {
    std::vector<std::pair<int, QWidget*>> order;
    for (const ControlDescription& control : description_.controls) {
        if (control.tabIndex < 0) continue;
        QWidget* widget = widgets_.at({control.name, control.index});
        if (widget->focusPolicy() & Qt::TabFocus) order.emplace_back(control.tabIndex, widget);
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
        QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        QRect frame = window_->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window_->move(frame.topLeft());
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

template <typename View, typename Member>
void Form::bindArray(ControlArray<Member>& array, const QString& name) {
    for (const ControlDescription& control : description().controls)
        if (control.name == name) array.add(control.index, view<View>(name, control.index));
}

Form::Form(const FormDescription& description) : FormWindow(description) {
    bindArray<LabelView>(Label1, "Label1");
    bindArray<QListWidget>(List1, "List1");
    bindArray<QPushButton>(Command1, "Command1");
    bindArray<OptionView>(Option1, "Option1");
    bindArray<QPlainTextEdit>(Text1, "Text1");
    for (const ControlDescription& control : description.controls)
        if (control.kind == ControlKind::TextBox) Text1[control.index].Text(control.text);
}

} // namespace ui
