// The form: its window, built from the description, and its controls by name.
#pragma once

#include "ui/controls.h"
#include "ui/form_description.h"

#include <QGroupBox>

#include <map>
#include <memory>
#include <utility>

namespace ui {

class Frame : Control {
public:
    explicit Frame(QGroupBox* view) : view_(view) {}
    QGroupBox* widget() const { return view_; }

private:
    QGroupBox* view_;
};

// The window and its widgets, made from the description before the controls bind to them.
class FormWindow {
public:
    explicit FormWindow(const FormDescription& description);
    virtual ~FormWindow();

    QWidget* window() const { return window_.get(); }
    const FormDescription& description() const { return description_; }
    // Places the window in the middle of its screen, shows it and gives the focus to
    // the first control of the tab order.
    void showCentred();

protected:
    template <typename View> View* view(const QString& name, int16_t index = -1) const {
        return static_cast<View*>(widgets_.at({name, index}));
    }
    TickClock* clock() const { return clock_; }

private:
    QWidget* create(const ControlDescription& control);
    // The controls that take the focus, by tab index.
    std::vector<QWidget*> tabOrder() const;
    void applyTabOrder();

    const FormDescription& description_;
    std::unique_ptr<QWidget> window_;
    TickClock* clock_ = nullptr;
    std::map<std::pair<QString, int16_t>, QWidget*> widgets_;
};

class Form : public FormWindow {
public:
    explicit Form(const FormDescription& description = kestramoForm());

    ControlArray<Label> Label1;
    ControlArray<ListBox> List1;
    ListBox List2{view<QListWidget>("List2")};
    ControlArray<CommandButton> Command1;
    ControlArray<OptionButton> Option1;
    ControlArray<TextBox> Text1;
    Frame Frame1{view<FrameView>("Frame1")};
    PictureBox Picture1{view<PictureView>("Picture1")};
    HScrollBar HScroll1{view<QScrollBar>("HScroll1")};
    Timer Timer1{clock()};

private:
    template <typename View, typename Member>
    void bindArray(ControlArray<Member>& array, const QString& name);
};

} // namespace ui
