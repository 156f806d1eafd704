// Qt widgets for the controls whose drawing or hit-testing Qt's stock widgets
// do not match: the label, the picture box and the option button.
#pragma once

#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRectF>
#include <QScrollBar>
#include <QWidget>

#include <vector>

namespace ui {

constexpr double kTwipsPerPixel = 15.0;

inline int twipsToPixels(double twips) {
    return int(twips / kTwipsPerPixel + 0.5);
}

// A label painted on the form: opaque back colour, caption centred and starting at
// the top edge, wrapped at blanks. Its height is held in twips and shown rounded to
// device pixels, so a shorter label cuts off its bottom strip and nothing else.
class LabelView : public QWidget {
public:
    LabelView(QWidget* parent, const QColor& back);

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);
    float heightTwips() const { return heightTwips_; }
    void setHeightTwips(float twips);
    // The height in device pixels that is painted.
    int shownDeviceHeight() const;
    QStringList wrappedLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor back_;
    QString caption_;
    float heightTwips_ = 0;
};

// A box with a sunken 3-D border that keeps what was filled into it, in its own twip
// coordinates from the top-left of its inside, until it is cleared.
class PictureView : public QFrame {
public:
    explicit PictureView(QWidget* parent);

    void clear();
    void fillBox(const QRectF& twips, const QColor& colour);
    std::size_t fillCount() const { return fills_.size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Fill {
        QRectF twips;
        QColor colour;
    };
    std::vector<Fill> fills_;
};

// A list whose keyboard moves select: with nothing selected, the first move (Down, Home)
// selects a row, instead of Qt's silent focus-in cursor making it skip the first row.
class ListView : public QListWidget {
public:
    explicit ListView(QWidget* parent) : QListWidget(parent) {}

protected:
    void focusInEvent(QFocusEvent* event) override;
};

// A horizontal scroll bar that also steps with the arrow keys, one step a press, as
// a click on an arrow does (Qt's scroll bar leaves those keys to its scroll area).
class ScrollView : public QScrollBar {
public:
    explicit ScrollView(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A push button in the graphical style: its back colour fills the whole face.
class ButtonView : public QPushButton {
public:
    ButtonView(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A group box drawn with its caption on the top edge of an etched border.
class FrameView : public QGroupBox {
public:
    FrameView(const QString& title, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A radio button that takes a click anywhere on its rectangle, not only on its
// indicator and text.
class OptionView : public QRadioButton {
public:
    OptionView(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace ui
