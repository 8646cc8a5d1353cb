#include "match3/TMatchInfo.h"

#include "platform/Services.h"

void TMatchInfo::update(int t) {
    if (Millisecs() > t - 500) da = 0;
    const float step = 0.05f * frameDelta;
    if (a < da) {
        a = a + step > da ? da : a + step;
    } else if (a > da) {
        a = a - step < da ? da : a - step;
    }
}
