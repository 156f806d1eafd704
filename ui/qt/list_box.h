// ListBox on QListWidget. Operations from code run with the widget's signals blocked,
// so only the user's selection reaches the model.
#pragma once

#include "ui/peers.h"

#include <QListWidget>

namespace ui::qt {

// A list whose keyboard moves select: with nothing selected, the first move (Down, Home)
// selects a row, instead of Qt's silent focus-in cursor making it skip the first row.
// It shows that it has the focus even when no row is current.
class ListView : public QListWidget {
public:
    explicit ListView(QWidget* parent) : QListWidget(parent) {}

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

class ListBox : public ListBoxPeer {
public:
    explicit ListBox(QWidget* form);
    void setAccessibleDescription(const std::u16string& text) override;
    void addItem(const std::u16string& text) override;
    void clear() override;
    int32_t count() const override { return view_->count(); }
    std::u16string item(int32_t index) const override;
    void setItem(int32_t index, const std::u16string& text) override;
    int32_t selectedIndex() const override;
    bool isVisible() const override { return !view_->isHidden(); }
    void setVisible(bool visible) override { view_->setVisible(visible); }
    bool isEnabled() const override { return view_->isEnabled(); }
    void setEnabled(bool enabled) override { view_->setEnabled(enabled); }
    ListView* view() const { return view_; }

private:
    void userSelected();

    ListView* view_;
    int32_t accepted_ = -1; // the row the user last chose, while the list took input
};

} // namespace ui::qt
