// From a control of the form to the Qt widget behind it, for tests and tools that drive
// or look at the real window.
#pragma once

#include "ui/form.h"
#include "ui/qt/command_button.h"
#include "ui/qt/frame.h"
#include "ui/qt/label.h"
#include "ui/qt/list_box.h"
#include "ui/qt/option_button.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/scroll_bar.h"
#include "ui/qt/text_box.h"
#include "ui/qt/tick_clock.h"
#include "ui/qt/window.h"

namespace ui::qt {

inline LabelView* widgetOf(const ui::Label& c) {
    return static_cast<Label&>(c.peer()).view();
}
inline ListView* widgetOf(const ui::ListBox& c) {
    return static_cast<ListBox&>(c.peer()).view();
}
inline ButtonView* widgetOf(const ui::CommandButton& c) {
    return static_cast<CommandButton&>(c.peer()).view();
}
inline OptionView* widgetOf(const ui::OptionButton& c) {
    return static_cast<OptionButton&>(c.peer()).view();
}
inline PictureView* widgetOf(const ui::PictureBox& c) {
    return static_cast<PictureBox&>(c.peer()).view();
}
inline ScrollView* widgetOf(const ui::HScrollBar& c) {
    return static_cast<ScrollBar&>(c.peer()).view();
}
inline QPlainTextEdit* widgetOf(const ui::TextBox& c) {
    return static_cast<TextBox&>(c.peer()).view();
}
inline FrameView* widgetOf(const ui::Frame& c) {
    return static_cast<Frame&>(c.peer()).view();
}
inline TickClock* clockOf(const ui::Timer& c) {
    return static_cast<TickClock*>(&c.peer());
}
// The top-level window a form bound to the Qt binding is shown in.
inline QWidget* windowOf(const ui::Form& form) {
    return static_cast<FormWindow&>(form.peer()).window();
}

} // namespace ui::qt
