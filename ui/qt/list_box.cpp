#include "ui/qt/list_box.h"

#include "ui/qt/convert.h"

#include <QSignalBlocker>

namespace ui::qt {

void ListView::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    if (selectedItems().isEmpty()) selectionModel()->clearCurrentIndex();
}

ListBox::ListBox(QWidget* form) : view_(new ListView(form)) {
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(view_, &QListWidget::itemSelectionChanged, view_, [this] {
        if (selectedIndex() >= 0 && onSelect) onSelect();
    });
}

void ListBox::addItem(const std::u16string& text) {
    const QSignalBlocker quiet(view_);
    view_->addItem(toQString(text));
}

void ListBox::clear() {
    const QSignalBlocker quiet(view_);
    view_->clear();
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

} // namespace ui::qt
