#include "ui/qt/convert.h"

namespace ui::qt {

QFont toQFont(const Font& font) {
    QFont qfont(toQString(font.family));
    qfont.setStyleHint(QFont::Serif);
    qfont.setWeight(QFont::Weight(font.weight));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    // 96 dots per inch: a point is 4/3 of a pixel.
    qfont.setPixelSize(font.points * 4 / 3);
    return qfont;
}

} // namespace ui::qt
