#include "effects/TFireworkSpark.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kDeg = 180.0f / 3.14159265f;

TParticlePool<TFireworkSpark>& pool() {
    // Never freed: lists may give sparks back while the program ends.
    static auto* p = new TParticlePool<TFireworkSpark>(1600);
    return *p;
}
}  // namespace

TFireworkSpark* TFireworkSpark::create(TParticleList* l) {
    TFireworkSpark* p = pool().acquire();
    if (!p) return nullptr;
    if (!(l ? *l : particles()).add(p)) return nullptr;
    return p;
}

int TFireworkSpark::poolUsed() {
    return pool().used();
}

float TFireworkSpark::speed() const {
    return std::sqrt(vx * vx + vy * vy);
}

void TFireworkSpark::_updateAlpha() {
    // Full brightness for the first part of its life, then a fade; a
    // glittering spark flickers while it fades.
    const float fade = lifePer < 0.35f ? 1.0f : 1.0f - (lifePer - 0.35f) / 0.65f;
    a = startA * std::max(0.0f, fade);
    if (twinkle && lifePer > 0.3f) {
        const float f = std::sin(phase + lifePer * 70.0f);
        a *= f > 0.2f ? 1.0f : 0.25f;
    }
}

void TFireworkSpark::_updateMove() {
    // The frame's flight: the air takes a share of the speed, gravity adds
    // a little downwards.
    if (bornTime == 0) return;
    const float d = frameDelta;
    const float keep = std::pow(drag, d);
    vx *= keep;
    vy = vy * keep + gravity * d;
    x += vx * d;
    y += vy * d;
}

void TFireworkSpark::draw() {
    if (Millisecs() < startTime || bornTime == 0 || a <= 0) return;
    const int count = static_cast<int>(images.size());
    SetBlend(blend);
    SetColor(rgb.r, rgb.g, rgb.b);
    SetAlpha(a);
    // While it flies fast a spark is its streak (the streak's bright core is
    // its head); slowed down, it is a twinkling star: one picture a frame.
    const float v = speed();
    if (tail > 0 && v > 1.2f && kTail < count && images[kTail]) {
        // The tail trails behind the head, as long as the last few frames' flight.
        const ImagePtr& img = images[kTail];
        SetBlend(LIGHTBLEND);  // a glowing streak
        SetAlpha(a * 0.8f);
        const float len = std::min(90.0f, v * tail);
        const float ang = std::atan2(vy, vx);
        SetRotation(ang * kDeg);
        SetScale(len / static_cast<float>(std::max(1, img->width)), s * 0.6f);
        DrawImage(img, x - std::cos(ang) * len * 0.5f, y - std::sin(ang) * len * 0.5f);
        return;
    }
    if (n >= 0 && n < count && images[static_cast<size_t>(n)]) {
        SetBlend(blend);
        SetAlpha(a);
        SetRotation(r);
        SetScale(s, s);
        DrawImage(images[static_cast<size_t>(n)], x, y);
    }
}
