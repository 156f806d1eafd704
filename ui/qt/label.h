// Label: a windowless caption painted in an opaque box, centred and starting at the top
// edge, wrapped at blanks. Its height is held in twips and shown rounded to device
// pixels, so a shorter label cuts off its bottom strip and nothing else.
#pragma once

#include "ui/form_description.h"
#include "ui/peers.h"

#include <QColor>
#include <QWidget>

namespace ui::qt {

class LabelView : public QWidget {
public:
    LabelView(QWidget* parent, const QColor& back);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    bool hiddenFromReaders() const { return hiddenFromReaders_; }
    void setHiddenFromReaders(bool hidden);
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
    bool hiddenFromReaders_ = false;
};

class Label : public LabelPeer {
public:
    Label(QWidget* form, const FormDescription& description, const ControlDescription& control);
    std::u16string caption() const override;
    void setCaption(const std::u16string& caption) override;
    float heightTwips() const override { return view_->heightTwips(); }
    void setHeightTwips(float twips) override { view_->setHeightTwips(twips); }
    void setHiddenFromReaders(bool hidden) override { view_->setHiddenFromReaders(hidden); }
    LabelView* view() const { return view_; }

private:
    LabelView* view_;
};

} // namespace ui::qt
