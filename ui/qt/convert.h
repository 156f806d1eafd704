// The model's value types in Qt's terms. Both hold text as UTF-16, so a string crosses
// by copying its code units.
#pragma once

#include "ui/types.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>
#include <string_view>

namespace ui::qt {

inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

inline std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          std::size_t(text.size()));
}

inline QColor toQColor(Colour colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

inline int twipsToPixels(double twips) {
    return int(twips / kTwipsPerPixel + 0.5);
}

// The font laid out at 96 dots per inch (15 twips a pixel) whatever the screen's own
// resolution, so the layout in twips holds on every screen.
QFont toQFont(const Font& font);

} // namespace ui::qt
