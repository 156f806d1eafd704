#include "ui/qt/list_box.h"

#include "ui/qt/convert.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionFocusRect>

namespace ui::qt {

void ListView::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    if (selectedItems().isEmpty()) selectionModel()->clearCurrentIndex();
    viewport()->update();
}

void ListView::focusOutEvent(QFocusEvent* event) {
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void ListView::paintEvent(QPaintEvent* event) {
    QListWidget::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    // Shown however the focus came, as the buttons show theirs.
    focus.state |= QStyle::State_KeyboardFocusChange;
    focus.rect = viewport()->rect();
    focus.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

ListBox::ListBox(QWidget* form) : view_(new ListView(form)) {
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(view_, &QListWidget::itemSelectionChanged, view_, [this] { userSelected(); });
}

void ListBox::userSelected() {
    // A screen reader can select a row of a greyed or hidden list, where neither mouse nor
    // keys can: such a selection is undone and raises nothing.
    if (!view_->isEnabled() || !view_->isVisible()) {
        const QSignalBlocker quiet(view_);
        view_->clearSelection();
        if (accepted_ >= 0 && accepted_ < view_->count()) view_->item(accepted_)->setSelected(true);
        return;
    }
    accepted_ = selectedIndex();
    if (accepted_ >= 0 && onSelect) onSelect();
}

void ListBox::addItem(const std::u16string& text) {
    const QSignalBlocker quiet(view_);
    view_->addItem(toQString(text));
}

void ListBox::clear() {
    const QSignalBlocker quiet(view_);
    view_->clear();
    accepted_ = -1;
}

std::u16string ListBox::item(int32_t index) const {
    return toU16(view_->item(index)->text());
}

void ListBox::setItem(int32_t index, const std::u16string& text) {
    const QSignalBlocker quiet(view_);
    view_->item(index)->setText(toQString(text));
}

int32_t ListBox::selectedIndex() const {
    const QList<QListWidgetItem*> selected = view_->selectedItems();
    return selected.isEmpty() ? -1 : view_->row(selected.first());
}

void ListBox::setAccessibleDescription(const std::u16string& text) {
    const QString description = toQString(text);
    if (description != view_->accessibleDescription()) view_->setAccessibleDescription(description);
}

} // namespace ui::qt
