#include "app/TRMCounter.h"

#include <cmath>

#include "platform/Services.h"

void approach(float& value, float target, float speed) {
    if (value < target) {
        value += speed * frameDelta;
        if (value > target) value = target;
    }
    if (value > target) {
        value -= speed * frameDelta;
        if (value < target) value = target;
    }
}

void TRMCounter::update() {
    approach(v, dv, vSpeed);
    if (switch_ != 0 && v == dv) dv = (dv == 0) ? 1.0f : 0.0f;
    constexpr double kDeg = 3.14159265358979323846 / 180.0;
    perSin = static_cast<float>(std::sin(sinValue * v * kDeg));
    perCos = static_cast<float>(std::cos(cosValue * v * kDeg));
}

void TRMCounter::setSpeed(float speed) { vSpeed = std::fabs(speed); }

TRMCounterPtr createCounter(float value, float target, int swing) {
    auto c = std::make_shared<TRMCounter>();
    c->v = value;
    c->dv = target;
    c->switch_ = swing;
    return c;
}
