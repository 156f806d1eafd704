// Frame: a group box drawn with its caption on the top edge of an etched border.
#pragma once

#include "ui/peers.h"

#include <QGroupBox>

namespace ui::qt {

class FrameView : public QGroupBox {
public:
    FrameView(const QString& title, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class Frame : public FramePeer {
public:
    Frame(QWidget* form, const std::u16string& caption);
    FrameView* view() const { return view_; }

private:
    FrameView* view_;
};

} // namespace ui::qt
