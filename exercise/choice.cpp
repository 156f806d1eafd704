// The choice of test and the lookup of a letter's count.
#include "app/kestramo.h"

using namespace rt;

void Kestramo::Option1_Click(int16_t Index) {
    TestKind = Index;
    Label1[2].Height(Label1[1].Height());
    Timer1.Enabled(false);
    HScroll1.Value(0);
    Timer1.Interval(400);
    if (Index == 0) List1[1].Visible(false);
    if (Index == 1) {
        List1[1].Clear();
        for (int16_t i = 0; i <= 25; ++i)
            List1[1].AddItem(Chr(65 + i));
    }
}

void Kestramo::List1_Click(int16_t Index) {
    if (Index != 1) return;
    const int32_t i = List1[1].ListIndex();
    const std::u16string L = List1[1].List(i);
    const std::u16string C = List1[0].List(i);
    Label1[2].Caption(L + u" = " + C);
}
