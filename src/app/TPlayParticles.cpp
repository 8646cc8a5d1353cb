#include "app/TPlayParticles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "match3/TChip.h"
#include "match3/TChipData.h"
#include "match3/TTile.h"

namespace {

constexpr float kDeg = 3.14159265f / 180.0f;
// Picture slots of the pool: 0..27 from "data/particles.dat", then captions.
constexpr int kCaption0 = 30;
const char* const kCaptions[] = {"excellent", "go",    "great",     "level_complited", "matched",
                                 "noMatch",   "ready", "spectacular", "terrific",      "times_up"};
constexpr int kSpark = 0, kGlow = 16, kStar = 17, kSmoke = 18, kRing = 19, kFlame = 20, kShard = 21,
              kConfetti = 25;

TBasicPlayParticles g_basic;
TPlayParticles* g_current = nullptr;

void chipCentre(TChip& chip, float& x, float& y) {
    if (chip.tile) {
        x = chip.tile->dim.x + chip.adx;
        y = chip.tile->dim.y + chip.adY;
    } else {
        x = chip.screenX;
        y = chip.screenY;
    }
}

}  // namespace

TPlayParticles& playParticles() { return g_current ? *g_current : g_basic; }
void setPlayParticles(TPlayParticles* p) { g_current = p; }

TBasicPlayParticles::TBasicPlayParticles() = default;

void TBasicPlayParticles::load() {
    if (_loaded) return;
    _loaded = true;
    TRCMFile f;
    f.Load(dataRoot + "data/particles.dat");
    const int n = f._loaded ? f.getInt("particles::i") : -1;
    for (int k = 0; k <= n && k < kCaption0; ++k) {
        const std::string path = f.getString("particles::p" + std::to_string(k));
        if (path.empty()) continue;
        _imgs[k] = LoadImage(dataRoot + path, IMG_FILTERED | IMG_MIPMAPPED);
        if (_imgs[k])
            MidHandleImage(_imgs[k]);
        else
            std::fprintf(stderr, "NO PARTICLE IMG: %s\n", path.c_str());
    }
    for (int k = 0; k < 10; ++k) {
        _imgs[kCaption0 + k] = LoadImage(dataRoot + "gfx/captions/" + kCaptions[k] + ".png", IMG_FILTERED);
        if (_imgs[kCaption0 + k]) MidHandleImage(_imgs[kCaption0 + k]);
    }
    for (int d = 0; d < 11; ++d) {
        _digits[d] = LoadImage(dataRoot + "gfx/particles/cyfry/" + (d < 10 ? std::to_string(d) : "plus") + ".png",
                               IMG_FILTERED);
        if (_digits[d]) MidHandleImage(_digits[d]);
    }
}

TBasicPlayParticles::P* TBasicPlayParticles::_spawn() {
    for (int tries = 0; tries < kPool; ++tries) {
        P& p = _pool[static_cast<size_t>(_next)];
        _next = (_next + 1) % kPool;
        if (p.img < 0 && p.digits < 0) {
            p = P{};
            ++_live;
            return &p;
        }
    }
    return nullptr;  // full: the burst is simply smaller
}

void TBasicPlayParticles::_burst(float x, float y, int n, int r, int g, int b, float speed, int img, int life) {
    const int now = Millisecs();
    for (int i = 0; i < n; ++i) {
        P* p = _spawn();
        if (!p) return;
        const float ang = RndF(0, 360) * kDeg, v = RndF(0.3f, 1.0f) * speed;
        p->img = img < 0 ? Rand(0, 15) : img;
        p->x = x + RndF(-8, 8);
        p->y = y + RndF(-8, 8);
        p->vx = std::cos(ang) * v;
        p->vy = std::sin(ang) * v - speed * 0.3f;
        p->g = speed * 0.04f;
        p->s0 = RndF(0.5f, 0.9f);
        p->s1 = 0.1f;
        p->r0 = RndF(0, 360);
        p->r1 = p->r0 + RndF(-180, 180);
        p->start = now;
        p->life = life + Rand(-life / 4, life / 4);
        p->cr = static_cast<unsigned char>(r);
        p->cg = static_cast<unsigned char>(g);
        p->cb = static_cast<unsigned char>(b);
    }
}

void TBasicPlayParticles::_number(float x, float y, int value, bool plus, int r, int g, int b) {
    P* p = _spawn();
    if (!p) return;
    p->digits = value < 0 ? 0 : value;
    p->frame = plus ? 1 : 0;
    p->x = x;
    p->y = y;
    p->vy = -0.8f;
    p->a0 = 1;
    p->a1 = 0;
    p->s0 = 0.6f;
    p->s1 = 0.9f;
    p->start = Millisecs();
    p->life = 900;
    p->blend = ALPHABLEND;
    p->cr = static_cast<unsigned char>(r);
    p->cg = static_cast<unsigned char>(g);
    p->cb = static_cast<unsigned char>(b);
}

void TBasicPlayParticles::chipDestroyParticles(TChip& chip, int) {
    float x, y;
    chipCentre(chip, x, y);
    const TRGB c = chip.cd ? chip.cd->rgb : TRGB{255, 255, 255};
    _burst(x, y, 10, c.r, c.g, c.b, 3.0f, -1, 550);
    _burst(x, y, 1, 255, 255, 255, 0.2f, kGlow, 300);
}
void TBasicPlayParticles::chipDestroyParticlesCross(TChip& chip) {
    float x, y;
    chipCentre(chip, x, y);
    _burst(x, y, 8, 255, 230, 120, 4.0f, kStar, 500);
}
void TBasicPlayParticles::chipDestroyParticlesFireHorizontal(TChip& chip) {
    float x, y;
    chipCentre(chip, x, y);
    _burst(x, y, 8, 255, 160, 60, 3.5f, kFlame, 450);
}
void TBasicPlayParticles::chipDestroyParticlesFireVertical(TChip& chip) { chipDestroyParticlesFireHorizontal(chip); }
void TBasicPlayParticles::chipDestroyParticlesBomb(TChip& chip) {
    float x, y;
    chipCentre(chip, x, y);
    _burst(x, y, 6, 160, 150, 140, 2.0f, kSmoke, 700);
    _burst(x, y, 6, 255, 180, 80, 4.0f, kFlame, 450);
}
void TBasicPlayParticles::plateBreakParticles(float x, float y, float w, float h, int) {
    _burst(x + w / 2, y + h / 2, 8, 200, 225, 255, 3.0f, kShard, 650);
}
void TBasicPlayParticles::chainBreakParticles(float x, float y) { _burst(x, y, 8, 200, 200, 210, 3.0f, kShard, 600); }
void TBasicPlayParticles::tileDestroyParticles(TTile& tile, int, int) {
    _burst(tile.dim.x, tile.dim.y, 5, 255, 240, 200, 2.5f, -1, 450);
}
void TBasicPlayParticles::scoreParticle(float x, float y, int score, int) { _number(x, y, score, true, 255, 255, 255); }
void TBasicPlayParticles::explosion(float x, float y) {
    _burst(x, y, 1, 255, 220, 150, 0.1f, kRing, 500);
    _burst(x, y, 14, 255, 170, 60, 5.0f, kFlame, 600);
}
void TBasicPlayParticles::chainLengthParticle(float x, float y, int n) { _number(x, y - 20, n, false, 255, 240, 120); }
void TBasicPlayParticles::powerUpSparkle(float x, float y, int r, int g, int b, int frame) {
    P* p = _spawn();
    if (!p) return;
    const float ang = RndF(0, 360) * kDeg;
    p->img = frame & 15;
    p->x = x;
    p->y = y;
    p->vx = std::cos(ang) * 1.6f;
    p->vy = std::sin(ang) * 1.6f;
    p->s0 = 0.8f;
    p->s1 = 0.2f;
    p->start = Millisecs();
    p->life = 600;
    p->cr = static_cast<unsigned char>(r);
    p->cg = static_cast<unsigned char>(g);
    p->cb = static_cast<unsigned char>(b);
}

void TBasicPlayParticles::textParticle(int kind, float x, float y) {
    P* p = _spawn();
    if (!p) return;
    const int which = kind == 5 ? 3 : kind == 6 ? 5 : kind == 8 ? 9 : 2;
    p->img = kCaption0 + which;
    p->x = x;
    p->y = y;
    p->a0 = 1;
    p->a1 = 0;
    p->s0 = 0.3f;
    p->s1 = 1.2f;
    p->start = Millisecs();
    p->life = 2000;
    p->blend = ALPHABLEND;
    _burst(x, y, 24, 255, 230, 120, 5.0f, kStar, 900);
}
void TBasicPlayParticles::firework(float x, float y) {
    static const int cols[][3] = {{255, 90, 80}, {255, 210, 70}, {120, 200, 255}, {150, 255, 120}, {230, 130, 255}};
    const auto& c = cols[Rand(0, 4)];
    _burst(x, y, 36, c[0], c[1], c[2], 5.5f, -1, 1100);
    _burst(x, y, 8, 255, 255, 255, 2.0f, kConfetti, 1200);
}
void TBasicPlayParticles::sparkle(float x, float y, int r, int g, int b, int delay) {
    P* p = _spawn();
    if (!p) return;
    const float ang = static_cast<float>(Rand(1, 360)) * kDeg;
    p->img = Rand(0, 15);
    p->x = x;
    p->y = y;
    p->vx = std::cos(ang) * 1.2f;
    p->vy = std::sin(ang) * 1.2f;
    p->s0 = 0.7f;
    p->s1 = 0.1f;
    p->start = Millisecs() + delay;
    p->life = 500;
    p->cr = static_cast<unsigned char>(r);
    p->cg = static_cast<unsigned char>(g);
    p->cb = static_cast<unsigned char>(b);
}

void TBasicPlayParticles::update() {
    if (_live == 0) return;
    const int now = Millisecs();
    for (P& p : _pool) {
        if (p.img < 0 && p.digits < 0) continue;
        if (now < p.start) continue;
        if (now - p.start > p.life) {
            p.img = -1;
            p.digits = -1;
            --_live;
            continue;
        }
        p.x += p.vx * frameDelta;
        p.y += p.vy * frameDelta;
        p.vy += p.g * frameDelta;
    }
}

void TBasicPlayParticles::draw() {
    if (_live == 0) return;
    const int now = Millisecs();
    for (const P& p : _pool) {
        if ((p.img < 0 && p.digits < 0) || now < p.start) continue;
        const float t = std::min(1.0f, static_cast<float>(now - p.start) / static_cast<float>(p.life));
        const float a = p.a0 + (p.a1 - p.a0) * t * t, s = p.s0 + (p.s1 - p.s0) * t;
        SetBlend(p.blend);
        SetColor(p.cr, p.cg, p.cb);
        SetAlpha(a);
        if (p.digits >= 0) {
            // A number: digits laid out around x, an optional plus in front.
            SetRotation(0);
            SetScale(s, s);
            char buf[16];
            const int n = std::snprintf(buf, sizeof buf, "%d", p.digits);
            const float step = 28 * s;
            float x = p.x - (n + p.frame) * step / 2 + step / 2;
            if (p.frame && _digits[10]) {
                DrawImage(_digits[10], x, p.y);
                x += step;
            }
            for (int i = 0; i < n; ++i, x += step)
                if (_digits[static_cast<size_t>(buf[i] - '0')]) DrawImage(_digits[static_cast<size_t>(buf[i] - '0')], x, p.y);
            continue;
        }
        const ImagePtr& img = _imgs[static_cast<size_t>(p.img)];
        if (!img) continue;
        SetRotation(p.r0 + (p.r1 - p.r0) * t);
        const float ss = p.img >= kCaption0 ? std::min(1.0f, s) : s;
        SetScale(ss, ss);
        DrawImage(img, p.x, p.y);
    }
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
}

void TBasicPlayParticles::clear() {
    for (P& p : _pool) {
        p.img = -1;
        p.digits = -1;
    }
    _live = 0;
}
