// The control model: the operations the handlers use, in twips, bound to Qt widgets.
// Only what the user does raises an event; operations from code raise none, except a
// change of the scroll bar's value, which runs its change handler at once.
#pragma once

#include "ui/runtime.h"
#include "ui/tick_clock.h"
#include "ui/widgets.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <functional>
#include <memory>
#include <vector>

namespace ui {

// Controls are bound to their widgets by address, so they stay where they were made.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
};

class Label : Control {
public:
    explicit Label(LabelView* view) : view_(view) {}
    QString Caption() const { return view_->caption(); }
    void Caption(const QString& text) { view_->setCaption(text); }
    float Height() const { return view_->heightTwips(); }
    void Height(float twips);
    LabelView* widget() const { return view_; }

private:
    LabelView* view_;
};

class ListBox : Control {
public:
    explicit ListBox(QListWidget* view);
    void AddItem(const QString& text);
    void Clear();
    QString List(int32_t index) const;
    void List(int32_t index, const QString& text);
    int32_t ListCount() const { return view_->count(); }
    // The selected row, -1 when none is selected.
    int32_t ListIndex() const;
    bool Visible() const { return !view_->isHidden(); }
    void Visible(bool visible) { view_->setVisible(visible); }
    bool Enabled() const { return view_->isEnabled(); }
    void Enabled(bool enabled) { view_->setEnabled(enabled); }
    QListWidget* widget() const { return view_; }

    // Raised when the user selects a row.
    std::function<void()> onClick;

private:
    QListWidget* view_;
};

class Timer : Control {
public:
    explicit Timer(TickClock* clock);
    bool Enabled() const { return clock_->isActive(); }
    void Enabled(bool enabled);
    int32_t Interval() const { return clock_->interval(); }
    void Interval(int32_t milliseconds);
    TickClock* clock() const { return clock_; }

    // Raised once per interval while enabled.
    std::function<void()> onTimer;
    // Told just before a start or a new interval begins a new schedule of ticks, for
    // those who measure how well the ticks keep to it.
    std::function<void()> onSchedule;

private:
    TickClock* clock_;
};

class HScrollBar : Control {
public:
    explicit HScrollBar(QScrollBar* view);
    int16_t Min() const { return int16_t(view_->minimum()); }
    void Min(int16_t value);
    int16_t Max() const { return int16_t(view_->maximum()); }
    void Max(int16_t value);
    int16_t Value() const { return int16_t(view_->value()); }
    // A change raises onChange at once, nested in the caller; the same value raises nothing.
    void Value(int16_t value);
    QScrollBar* widget() const { return view_; }

    std::function<void()> onChange;

private:
    void setRange(int minimum, int maximum);
    QScrollBar* view_;
};

class PictureBox : Control {
public:
    explicit PictureBox(PictureView* view) : view_(view) {}
    float Width() const { return float(view_->width() * kTwipsPerPixel); }
    float Height() const { return float(view_->height() * kTwipsPerPixel); }
    void Cls() { view_->clear(); }
    // The box-fill form of Line: fills the rectangle between two corners with one colour.
    void LineBF(double x1, double y1, double x2, double y2, const QColor& colour);
    PictureView* widget() const { return view_; }

private:
    PictureView* view_;
};

class CommandButton : Control {
public:
    explicit CommandButton(QPushButton* view);
    QPushButton* widget() const { return view_; }
    std::function<void()> onClick;

private:
    QPushButton* view_;
};

class OptionButton : Control {
public:
    explicit OptionButton(OptionView* view);
    bool Value() const { return view_->isChecked(); }
    OptionView* widget() const { return view_; }
    std::function<void()> onClick;

private:
    OptionView* view_;
};

// A read-only multi-line box; it keeps its text as given (lines ended by CR LF).
class TextBox : Control {
public:
    explicit TextBox(QPlainTextEdit* view) : view_(view) {}
    QString Text() const { return text_; }
    void Text(const QString& text);
    QPlainTextEdit* widget() const { return view_; }

private:
    QPlainTextEdit* view_;
    QString text_;
};

// Members addressed by a 16-bit index; a missing index is a run-time error.
template <typename Member> class ControlArray {
public:
    template <typename View> void add(int16_t index, View* view) {
        if (std::size_t(index) >= members_.size()) members_.resize(std::size_t(index) + 1);
        members_[std::size_t(index)] = std::make_unique<Member>(view);
    }
    Member& operator[](int16_t index) const {
        if (index < 0 || std::size_t(index) >= members_.size() || !members_[std::size_t(index)])
            rt::raise(rt::ErrorNumber::NoSuchArrayElement);
        return *members_[std::size_t(index)];
    }
    int16_t count() const { return int16_t(members_.size()); }

private:
    std::vector<std::unique_ptr<Member>> members_;
};

} // namespace ui
