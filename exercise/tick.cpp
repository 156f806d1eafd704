// The tick handler that runs both tests.
#include "app/kestramo.h"

using namespace rt;

void Kestramo::Timer1_Timer() {
    Label1[3].Caption(Str(Val(Label1[3].Caption()) + 1));
    if (TestKind == 0) {
        if (Label1[2].Height() >= 80)
            Label1[2].Height(Label1[2].Height() - 10);
        else
            Timer1.Enabled(false);
    } else if (TestKind == 1) {
        const int32_t k = Mod(CInt(Rnd(250) * 100), 26); // in single precision
        Label1[2].Caption(Chr(65 + k));
        const int16_t c = CInt(Val(List1[0].List(k)));
        List1[0].List(k, Str(Add16(c, 1)));
        if (c > 8) {
            Timer1.Enabled(false);
            List1[1].Enabled(true);
        }
    }
}
