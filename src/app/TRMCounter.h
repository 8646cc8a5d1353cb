// A value that moves towards a target by the frame factor, optionally
// swinging back and forth between 0 and 1, with sine and cosine outputs.
#pragma once

#include <memory>

class TRMCounter {
public:
    float v = 0;
    float dv = 0;
    float vSpeed = 0.05f;
    int switch_ = 0;  // "switch" is a C++ keyword
    float perSin = 0;
    float sinValue = 90;
    float perCos = 0;
    float cosValue = 90;

    void update();
    void setValue(float target) { dv = target; }
    void setStartValue(float value) { v = value; }
    void setSpeed(float speed);
};
using TRMCounterPtr = std::shared_ptr<TRMCounter>;

TRMCounterPtr createCounter(float value, float target, int swing);

// The approach step shared by fades, alphas and counters: moves value towards
// target by speed * frameDelta without overshooting.
void approach(float& value, float target, float speed);
