// The state of a run: reset and start.
#include "app/kestramo.h"

using namespace rt;

void Kestramo::ResetExercise() {
    Timer1.Enabled(false);
    Label1[2].Caption(u" ");
    Label1[2].Height(Label1[1].Height());
    List1[1].Enabled(false);
    List1[0].Clear();
    List1[1].Visible(false);
    List1[1].Clear();
    HScroll1.Value(0);
    Timer1.Interval(400);
    Label1[3].Caption(u"0");
}

void Kestramo::StartExercise() {
    Label1[2].Caption(u" ");
    const int32_t n = List2.ListCount();
    const float r = Rnd(100);
    const int32_t p = Mod(CInt(r * 100), n); // r * 100 in single precision
    Label1[1].Caption(List2.List(p));
    Timer1.Enabled(true);
    if (TestKind == 1) {
        List1[1].Visible(true);
        List1[1].Enabled(false);
        List1[0].Clear();
        List1[1].Clear();
        for (int16_t i = 0; i <= 25; ++i) {
            List1[1].AddItem(Chr(65 + i));
            List1[0].AddItem(u"0");
        }
    } else {
        List1[1].Visible(false);
    }
}
