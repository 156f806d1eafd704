// The desktop slider's pace, spoken as a screen reader should hear it. Qt 6.4's AT-SPI
// bridge speaks a moved slider as its bare step ("1"), for an AT-SPI value has no text
// there, and its description changes carry the object in place of the new text, so Orca
// can read neither. While the user moves the slider, its value change is kept from the
// bridge, and the new pace goes out as the description change the bridge should have
// sent: Orca speaks it once a move, the pace first ("397 мс. От 400 до 100 …").
#pragma once

#include <QPointer>
#include <QWidget>

#include <QAccessible>

namespace ui::qt {

// Keeps one widget's value changes from Qt's accessibility handler while it lives, and puts
// Qt's handler back when it ends, however it ends (a thrown exception, the widget deleted
// on the way). Within a move already kept quiet, a nested one changes nothing.
class QuietMove {
public:
    explicit QuietMove(QWidget* widget);
    ~QuietMove() { end(); }
    QuietMove(const QuietMove&) = delete;
    QuietMove& operator=(const QuietMove&) = delete;
    // The value change has passed: whatever follows is heard.
    void end();
    // Ends the move of `widget` under way, if there is one.
    static void endFor(const QWidget* widget);
    // Only the Qt whose bridge speaks the bare step needs it: on any other the slider
    // is left to Qt.
    static bool needed();

private:
    static void keepQuiet(QAccessibleEvent* event);
    QPointer<QWidget> widget_;
    QAccessible::UpdateHandler previous_ = nullptr;
    bool installed_ = false;
};

// Tells a screen reader that the widget's description changed, its new text with it: on
// the accessibility bus as the bridge would, or, with no bus, as Qt's own event.
void describeAnew(QWidget* widget);

} // namespace ui::qt
