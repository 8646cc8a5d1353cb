#include "effects/TFireworks.h"

#include <algorithm>
#include <cmath>

#include "effects/TFireworkSpark.h"

namespace {

constexpr float kRad = 3.14159265f / 180.0f;
constexpr int kGlow = 16;
constexpr float kMargin = 30;  // a burst's centre keeps this far off the shelter

TRGB lighter(const TRGB& c, float k) {
    return TRGB{c.r + static_cast<int>((255 - c.r) * k), c.g + static_cast<int>((255 - c.g) * k),
                c.b + static_cast<int>((255 - c.b) * k)};
}

}  // namespace

TFireworks::TFireworks(int capacity) : _list(capacity) {
    _rockets.reserve(16);
}

const std::vector<TRGB>& TFireworks::palette() {
    static const std::vector<TRGB> p = {{255, 80, 70},   {255, 196, 50},  {110, 235, 90}, {80, 170, 255},
                                        {205, 110, 255}, {255, 130, 200}, {80, 235, 225}};
    return p;
}

void TFireworks::start() {
    clear();
    _running = true;
    // An opening salvo of three, a moment apart, then the staggered rest.
    const int n = static_cast<int>(palette().size());
    for (int i = 0; i < 3; ++i) {
        // One in each third of the sky, left to right.
        float x = 0, y = 0;
        for (int k = 0; k < 12; ++k) {
            _pickSpot(x, y);
            if (x >= 120 + i * 261.0f && x <= 120 + (i + 1) * 261.0f) break;
        }
        int c = Rand(0, n - 1);
        if (c == _lastColour) c = (c + 1) % n;
        _lastColour = c;
        launch(x, y, c, i * 220, Rand(600, 800));
    }
    _nextLaunch = Millisecs() + 900;
}

void TFireworks::stop() {
    _running = false;
}

void TFireworks::clear() {
    _running = false;
    _rockets.clear();
    _list.clear();
    _bursts = 0;
}

void TFireworks::setShelter(float x, float y, float w, float h) {
    _sx = x;
    _sy = y;
    _sw = w > 0 && h > 0 ? w : 0;
    _sh = w > 0 && h > 0 ? h : 0;
}

bool TFireworks::goodSpot(float x, float y, float sx, float sy, float sw, float sh) {
    if (x < 120 || x > 904 || y < 70 || y > 380) return false;
    if (sw <= 0 || sh <= 0) return true;
    return x < sx - kMargin || x > sx + sw + kMargin || y < sy - kMargin || y > sy + sh + kMargin;
}

void TFireworks::_pickSpot(float& x, float& y) const {
    for (int i = 0; i < 40; ++i) {
        x = static_cast<float>(Rand(120, 904));
        y = static_cast<float>(Rand(70, 380));
        if (goodSpot(x, y, _sx, _sy, _sw, _sh)) return;
    }
    // A shelter that leaves no room in the sky: the band above it, or the top.
    x = static_cast<float>(Rand(120, 904));
    y = std::max(70.0f, std::min(380.0f, _sy - kMargin - 1));
}

void TFireworks::launch(float x, float y, int c, int delay, int rise) {
    Rocket r;
    r.x1 = x;
    r.y1 = y;
    r.x0 = x + RndF(-70, 70);
    r.y0 = 790;
    r.x = r.x0;
    r.y = r.y0;
    r.launch = Millisecs() + delay;
    r.rise = std::max(1, rise);
    const int n = static_cast<int>(palette().size());
    r.colour = ((c % n) + n) % n;
    _rockets.push_back(r);
}

void TFireworks::_scheduleNext(int now) {
    const int n = static_cast<int>(palette().size());
    float x = 0, y = 0;
    _pickSpot(x, y);
    int c = Rand(0, n - 1);
    if (c == _lastColour) c = (c + 1 + Rand(0, n - 2)) % n;
    _lastColour = c;
    launch(x, y, c, 0, Rand(600, 850));
    // Now and then two go up together.
    if (Rand(0, 3) == 0) {
        float x2 = 0, y2 = 0;
        _pickSpot(x2, y2);
        const int c2 = (c + 2) % n;
        launch(x2, y2, c2, Rand(120, 260), Rand(600, 850));
    }
    _nextLaunch = now + Rand(480, 820);
}

void TFireworks::_trail(const Rocket& r, float px, float py) {
    // Sparks shed along the frame's climb: warm, short-lived, drifting down,
    // so the rocket draws a short glowing line behind it.
    for (int i = 0; i < 2; ++i) {
        TFireworkSpark* p = TFireworkSpark::create(&_list);
        if (!p) return;
        const float k = (static_cast<float>(i) + 0.5f) / 2.0f;
        p->n = kGlow;
        p->blend = LIGHTBLEND;
        p->x = px + (r.x - px) * k + RndF(-1.5f, 1.5f);
        p->y = py + (r.y - py) * k;
        p->vx = RndF(-0.4f, 0.4f);
        p->vy = RndF(0.2f, 0.8f);
        p->drag = 0.9f;
        p->gravity = 0.03f;
        p->tail = 0;
        p->lifeTime = Rand(160, 260);
        p->startTime = Millisecs();
        p->startA = 0.9f;
        p->startS = p->s = RndF(0.14f, 0.2f);
        p->ds = 0.05f;
        p->rgb = TRGB{255, 200, 120};
    }
}

void TFireworks::_burst(const Rocket& r) {
    const auto& pal = palette();
    const TRGB c = pal[static_cast<size_t>(r.colour)];
    const TRGB c2 = pal[static_cast<size_t>((r.colour + 3) % static_cast<int>(pal.size()))];
    const int now = Millisecs();
    // The flash of the burst.
    if (TFireworkSpark* f = TFireworkSpark::create(&_list)) {
        f->n = kGlow;
        f->x = r.x1;
        f->y = r.y1;
        f->tail = 0;
        f->gravity = 0;
        f->blend = LIGHTBLEND;
        f->lifeTime = 220;
        f->startTime = now;
        f->startA = 0.8f;
        f->startS = f->s = 1.3f;
        f->ds = 1.6f;
        f->rgb = lighter(c, 0.5f);
    }
    // A ball of sparks: an outer shell in the burst's colour and an inner one,
    // slower, in a second colour; every burst either twinkles or trails long.
    const bool glitter = Rand(0, 1) == 1;
    const int n = Rand(38, 48);
    const float v0 = RndF(4.8f, 6.4f);
    for (int i = 0; i < n; ++i) {
        TFireworkSpark* p = TFireworkSpark::create(&_list);
        if (!p) return;
        const bool inner = i % 4 == 3;
        const float ang = (360.0f * i / n + RndF(-5, 5)) * kRad;
        const float v = v0 * (inner ? RndF(0.45f, 0.6f) : RndF(0.85f, 1.0f));
        p->n = Rand(0, 15);
        p->x = r.x1;
        p->y = r.y1;
        p->vx = std::cos(ang) * v;
        p->vy = std::sin(ang) * v;
        p->drag = 0.955f;
        p->gravity = 0.05f;
        p->tail = glitter ? 4.0f : 7.0f;
        p->twinkle = glitter;
        p->phase = RndF(0, 6.28f);
        p->lifeTime = Rand(1100, 1600);
        p->startTime = now;
        p->startA = 1;
        p->startS = p->s = inner ? RndF(0.3f, 0.4f) : RndF(0.4f, 0.55f);
        p->ds = p->startS * 0.6f;
        p->startR = RndF(0, 360);
        p->dr = p->startR + 180;
        p->rgb = inner ? lighter(c2, 0.2f) : c;
    }
}

int TFireworks::update() {
    const int now = Millisecs();
    if (_running && now >= _nextLaunch) _scheduleNext(now);
    int burst = 0;
    for (auto it = _rockets.begin(); it != _rockets.end();) {
        Rocket& r = *it;
        if (now < r.launch) {
            ++it;
            continue;
        }
        const float px = r.flying ? r.x : r.x0, py = r.flying ? r.y : r.y0;
        r.flying = true;
        const float t = std::min(1.0f, static_cast<float>(now - r.launch) / static_cast<float>(r.rise));
        // Fast off the ground, slowing near the top of the climb.
        const float e = 1 - (1 - t) * (1 - t);
        r.x = r.x0 + (r.x1 - r.x0) * e;
        r.y = r.y0 + (r.y1 - r.y0) * e;
        if (t >= 1) {
            _burst(r);
            ++burst;
            ++_bursts;
            it = _rockets.erase(it);
            continue;
        }
        _trail(r, px, py);
        ++it;
    }
    _list.update();
    return burst;
}

void TFireworks::draw() {
    _list.draw();
    // The rockets' heads, over their trails.
    if (kGlow >= static_cast<int>(TParticle::images.size()) || !TParticle::images[kGlow]) return;
    const ImagePtr& glow = TParticle::images[kGlow];
    SetBlend(LIGHTBLEND);
    SetRotation(0);
    SetColor(255, 240, 200);
    SetAlpha(1);
    SetScale(0.3f, 0.3f);
    for (const Rocket& r : _rockets)
        if (r.flying) DrawImage(glow, r.x, r.y);
    SetBlend(ALPHABLEND);
    SetScale(1, 1);
    SetColor(255, 255, 255);
}

TFireworks& fireworks() {
    // Never freed: its sparks belong to a pool that outlives every screen.
    static auto* show = new TFireworks();
    return *show;
}
