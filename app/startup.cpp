// Start-up and the two command buttons.
#include "app/kestramo.h"

using namespace rt;

void Kestramo::Form_Load() {
    Randomize();
    Timer1.Interval(400);
    HScroll1.Max(100);
    HScroll1.Min(0);
    HScroll1.Value(0);
    Picture1.Cls();
    const float W = Picture1.Width();
    const float H = Picture1.Height();
    Picture1.LineBF(0, 0, W, H, RGB(30, 230, 30));
    Randomize();
    ResetExercise();
}

void Kestramo::Command1_Click(int16_t Index) {
    ResetExercise();
    if (Index == 0)
        StartExercise();
    else if (Index == 1)
        ResetExercise();
}
