// The speed slider: the bar it paints and the pace it sets.
#include "app/kestramo.h"

#include <cmath>

using namespace rt;

void Kestramo::HScroll1_Change() {
    const int16_t v = HScroll1.Value();
    const int16_t m = HScroll1.Max();
    const double ratio = Val(Fixed(Divide(v, m), 2));
    const double split = std::floor(double(Picture1.Width()) * ratio);
    const float W = Picture1.Width();
    const float H = Picture1.Height();
    Picture1.Cls();
    Picture1.LineBF(0, 0, split, H, RGB(230, 30, 30));
    Picture1.LineBF(split, H, W, 0, RGB(100, 230, 30));
    Timer1.Interval(Sub16(400, Mul16(3, HScroll1.Value())));
}
