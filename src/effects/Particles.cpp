#include "effects/Particles.h"

#include <cmath>

#include "effects/TNumberAndTextParticle.h"
#include "effects/TNumberParticle.h"
#include "effects/TPlateParticle.h"
#include "effects/TScoreParticle.h"
#include "effects/TTextParticle.h"

namespace {

constexpr float kRad = 3.14159265f / 180.0f;
// Picture table slots ("data/particles.dat").
constexpr int kGlow = 16, kStar = 17, kSmoke = 18, kRing = 19, kFlame = 20, kShard = 21, kConfetti = 25,
              kStreak = 26, kLink = 27;

int sparkFrame() {
    return Rand(0, 15);
}

// A particle thrown from (x, y) at the angle (degrees) over dist pixels,
// sagging by drop pixels at the end (a cheap gravity).
TParticle* throwParticle(TParticleList* l, int img, float x, float y, float angle, float dist, float drop,
                         int life, int delay) {
    TParticle* p = newParticle(l);
    if (!p) return nullptr;
    const float ex = x + std::cos(angle * kRad) * dist, ey = y + std::sin(angle * kRad) * dist;
    p->setCurve(x, y, (x + ex) / 2, (y + ey) / 2 - drop * 0.25f, ex, ey + drop);
    p->n = img;
    p->lifeTime = life;
    p->startTime = Millisecs() + delay;
    p->startA = 1;
    p->da = 0;
    return p;
}

void colour(TParticle* p, const TRGB& c) {
    if (p) p->rgb = c;
}

// Lighter version of a colour, so additive sparks do not turn muddy.
TRGB light(const TRGB& c, float k) {
    TRGB o;
    o.r = c.r + static_cast<int>((255 - c.r) * k);
    o.g = c.g + static_cast<int>((255 - c.g) * k);
    o.b = c.b + static_cast<int>((255 - c.b) * k);
    return o;
}

}  // namespace

void setupParticles() {
    TParticle::setup();
    TTextParticle::setup();
    TScoreParticle::setup();
    TNumberParticle::setup();
    TNumberAndTextParticle::setupFont();
    TPlateParticle::setupPlates();
}

void destroyParticles(float x, float y, const TRGB& c, int type, float angle, int delay, TParticleList* l) {
    const TRGB lc = light(c, 0.35f);
    switch (type) {
        case DESTROY_FIRE_H:
        case DESTROY_FIRE_V: {
            // A short flame licking both ways along the line of fire.
            const float base = type == DESTROY_FIRE_H ? 0.0f : 90.0f;
            for (int i = 0; i < 2; ++i) {
                TParticle* p = throwParticle(l, kFlame, x, y, base + 180.0f * i + RndF(-8, 8), RndF(25, 45),
                                             0, Rand(250, 350), delay);
                if (!p) return;
                p->startS = RndF(0.5f, 0.7f);
                p->ds = 0.2f;
                p->startR = p->dr = base + 180.0f * i + 90.0f;
                colour(p, light(c, 0.5f));
            }
            TParticle* g = throwParticle(l, kGlow, x, y, 0, 0, 0, 250, delay);
            if (g) {
                g->startS = 0.6f;
                g->ds = 0.9f;
                g->startA = 0.6f;
                colour(g, lc);
            }
            break;
        }
        case DESTROY_BOMB:
            for (int i = 0; i < 3; ++i) {
                TParticle* p =
                    throwParticle(l, kSmoke, x, y, RndF(0, 360), RndF(10, 30), -15, Rand(500, 700), delay);
                if (!p) return;
                p->blend = ALPHABLEND;
                p->startA = 0.5f;
                p->startS = RndF(0.3f, 0.5f);
                p->ds = RndF(0.8f, 1.1f);
                p->startR = RndF(0, 360);
                p->dr = p->startR + RndF(-60, 60);
                p->rgb = TRGB{90, 80, 70};
            }
            for (int i = 0; i < 3; ++i) {
                TParticle* p = throwParticle(l, sparkFrame(), x, y, RndF(0, 360), RndF(30, 60), 10,
                                             Rand(300, 450), delay);
                if (!p) return;
                p->startS = 0.6f;
                p->ds = 0.1f;
                colour(p, TRGB{255, 200, 120});
            }
            break;
        case DESTROY_CROSS: {
            TParticle* p = throwParticle(l, kStreak, x, y, angle, 30, 0, 220, delay);
            if (p) {
                p->startS = 0.5f;
                p->ds = 0.2f;
                p->startR = p->dr = angle;
                colour(p, lc);
            }
            TParticle* q =
                throwParticle(l, sparkFrame(), x, y, angle + RndF(-30, 30), RndF(15, 35), 0, 300, delay);
            if (q) {
                q->startS = 0.5f;
                q->ds = 0.1f;
                colour(q, lc);
            }
            break;
        }
        default: {
            // A ring of sparks in the chip's colour, a few shards that fall,
            // and a soft glow where the chip was.
            const int n = 6;
            for (int i = 0; i < n; ++i) {
                const float ang = 360.0f * i / n + RndF(-15, 15);
                TParticle* p =
                    throwParticle(l, sparkFrame(), x, y, ang, RndF(28, 48), 8, Rand(380, 520), delay);
                if (!p) return;
                p->startS = RndF(0.45f, 0.7f);
                p->ds = 0.1f;
                p->startR = RndF(0, 360);
                p->dr = p->startR + RndF(-120, 120);
                colour(p, lc);
            }
            for (int i = 0; i < 2; ++i) {
                TParticle* p =
                    throwParticle(l, kShard, x, y, RndF(200, 340), RndF(20, 40), 45, Rand(450, 600), delay);
                if (!p) return;
                p->blend = ALPHABLEND;
                p->startS = RndF(0.25f, 0.4f);
                p->ds = 0.15f;
                p->startR = RndF(0, 360);
                p->dr = p->startR + RndF(-270, 270);
                colour(p, c);
            }
            TParticle* g = throwParticle(l, kGlow, x, y, 0, 0, 0, 300, delay);
            if (g) {
                g->startS = 0.4f;
                g->ds = 0.8f;
                g->startA = 0.7f;
                colour(g, lc);
            }
            break;
        }
    }
}

void plateBreakParticles(float x, float y, float w, float h, int kind, TParticleList* l) {
    // Four quarters of the broken layer tumble down and out.
    for (int q = 0; q < 4; ++q) {
        TPlateParticle* p = TPlateParticle::create(l);
        if (!p) return;
        p->frame = kind >= 2 ? 1 : 0;
        p->quarter = q;
        const float ox = (q & 1 ? 0.25f : -0.25f) * w, oy = (q & 2 ? 0.25f : -0.25f) * h;
        const float sx = x + ox, sy = y + oy;
        const float ex = sx + ox * RndF(1.5f, 2.5f), ey = sy + RndF(50, 80);
        p->setCurve(sx, sy, sx + ox * 1.2f, sy - RndF(15, 30), ex, ey);
        p->startA = 1;
        p->da = 0;
        p->startS = 1;
        p->ds = 0.6f;
        p->startR = 0;
        p->dr = (q & 1 ? 1.0f : -1.0f) * RndF(60, 160);
        p->lifeTime = Rand(450, 600);
        p->startTime = Millisecs();
    }
    for (int i = 0; i < 5; ++i) {
        TParticle* p = throwParticle(l, sparkFrame(), x + RndF(-w / 3, w / 3), y + RndF(-h / 3, h / 3),
                                     RndF(0, 360), RndF(10, 25), 0, Rand(300, 450), 0);
        if (!p) return;
        p->startS = 0.5f;
        p->ds = 0.1f;
        p->rgb = kind >= 2 ? TRGB{230, 220, 255} : TRGB{215, 235, 255};
    }
}

void chainParticles(float x, float y, TParticleList* l) {
    for (int i = 0; i < 5; ++i) {
        TParticle* p = throwParticle(l, kLink, x, y, RndF(200, 340), RndF(20, 45), 60, Rand(500, 700), 0);
        if (!p) return;
        p->blend = ALPHABLEND;
        p->startS = RndF(0.45f, 0.6f);
        p->ds = 0.35f;
        p->startR = RndF(0, 360);
        p->dr = p->startR + RndF(-300, 300);
        p->rgb = TRGB{200, 205, 215};
    }
    for (int i = 0; i < 4; ++i) {
        TParticle* p = throwParticle(l, sparkFrame(), x, y, RndF(0, 360), RndF(15, 30), 0, 300, 0);
        if (!p) return;
        p->startS = 0.5f;
        p->ds = 0.1f;
    }
}

void scoreParticle(float x, float y, int score, int delay, TParticleList* l) {
    TScoreParticle::create(score, x, y, delay, l);
}

void chainLengthParticle(float x, float y, int n, TParticleList* l) {
    if (TNumberAndTextParticle::create(n, n >= 7 ? "chain!!" : "chain!", x, y - 20, 0, l)) {
        for (int i = 0; i < 6; ++i) sparkle(x, y - 20, TRGB{255, 230, 140}, i * 40, l);
    }
}

int captionOfKind(int kind) {
    static const int map[10] = {TTextParticle::CAPTION_EXCELLENT, TTextParticle::CAPTION_GO,
                                TTextParticle::CAPTION_GREAT,     TTextParticle::CAPTION_SPECTACULAR,
                                TTextParticle::CAPTION_TERRIFIC,  TTextParticle::CAPTION_LEVEL_COMPLETE,
                                TTextParticle::CAPTION_NO_MATCH,  TTextParticle::CAPTION_READY,
                                TTextParticle::CAPTION_TIMES_UP,  TTextParticle::CAPTION_MATCHED};
    return kind >= 0 && kind < 10 ? map[kind] : -1;
}

void textParticle(int kind, float x, float y, int delay, TParticleList* l) {
    const int caption = captionOfKind(kind);
    if (caption < 0) return;
    if (!TTextParticle::create(caption, x, y, delay, l)) return;
    // A few stars pop around the word as it lands.
    for (int i = 0; i < 10; ++i) {
        TParticle* p = throwParticle(l, kStar, x + RndF(-180, 180), y + RndF(-40, 40), RndF(0, 360),
                                     RndF(20, 50), 20, Rand(600, 900), delay + 150 + i * 25);
        if (!p) return;
        p->startS = RndF(0.25f, 0.4f);
        p->ds = 0.05f;
        p->startR = RndF(0, 360);
        p->dr = p->startR + 180;
        p->rgb = TRGB{255, 230, 120};
    }
}

void sparkle(float x, float y, const TRGB& c, int delay, TParticleList* l) {
    const float ang = static_cast<float>(Rand(1, 360));
    TParticle* p = throwParticle(l, sparkFrame(), x, y, ang, RndF(25, 55), 0, Rand(450, 650), delay);
    if (!p) return;
    p->startS = RndF(0.4f, 0.7f);
    p->ds = 0.1f;
    p->startR = RndF(0, 360);
    p->dr = p->startR + RndF(-90, 90);
    colour(p, c);
}

void dotParticle(float x, float y, const TRGB& c, TParticleList* l) {
    TParticle* p = throwParticle(l, kGlow, x, y, 0, 0, 0, 300, 0);
    if (!p) return;
    p->startA = 0.8f;
    p->startS = 0.25f;
    p->ds = 0.05f;
    colour(p, c);
}

void powerUpSparkle(float x, float y, const TRGB& c, int frame, TParticleList* l) {
    TParticle* p = throwParticle(l, frame & 15, x, y, RndF(250, 290), RndF(15, 30), 0, Rand(500, 700), 0);
    if (!p) return;
    p->startS = RndF(0.4f, 0.6f);
    p->ds = 0.1f;
    p->startR = RndF(0, 360);
    p->dr = p->startR + 90;
    colour(p, c);
}

void explosionParticles(float x, float y, TParticleList* l) {
    TParticle* ring = throwParticle(l, kRing, x, y, 0, 0, 0, 400, 0);
    if (ring) {
        ring->startS = 0.2f;
        ring->ds = 1.6f;
        ring->rgb = TRGB{255, 220, 150};
    }
    for (int i = 0; i < 12; ++i) {
        TParticle* p = throwParticle(l, i < 6 ? kSmoke : sparkFrame(), x, y, RndF(0, 360), RndF(20, 70),
                                     i < 6 ? -20.0f : 20.0f, Rand(400, 700), 0);
        if (!p) return;
        if (i < 6) {
            p->blend = ALPHABLEND;
            p->startA = 0.5f;
            p->rgb = TRGB{80, 70, 60};
            p->startS = 0.4f;
            p->ds = 1.2f;
        } else {
            p->startS = 0.7f;
            p->ds = 0.1f;
            p->rgb = TRGB{255, 210, 120};
        }
        p->startR = RndF(0, 360);
        p->dr = p->startR + RndF(-90, 90);
    }
}

void firework(float x, float y, int delay, TParticleList* l) {
    static const TRGB hues[6] = {{255, 90, 80},  {255, 200, 60},  {120, 230, 90},
                                 {90, 170, 255}, {200, 120, 255}, {255, 150, 210}};
    const TRGB c = hues[Rand(0, 5)];
    const TRGB c2 = light(c, 0.6f);
    // The rocket's trail from below, then the burst: a flash, a ring of
    // sparks that droop as they fade, and a few confetti bits.
    TParticle* rocket = newParticle(l);
    const int rise = 350;
    if (rocket) {
        rocket->n = kStreak;
        rocket->setLine(x + RndF(-30, 30), y + 160, x, y);
        rocket->startR = rocket->dr = 90;
        rocket->startS = 0.4f;
        rocket->ds = 0.25f;
        rocket->startA = 0.9f;
        rocket->da = 0.2f;
        rocket->lifeTime = rise;
        rocket->startTime = Millisecs() + delay;
        rocket->rgb = c2;
    }
    TParticle* flash = throwParticle(l, kGlow, x, y, 0, 0, 0, 350, delay + rise);
    if (flash) {
        flash->startS = 1.6f;
        flash->ds = 0.4f;
        flash->rgb = c2;
    }
    const int n = 28;
    const float radius = RndF(90, 140);
    for (int i = 0; i < n; ++i) {
        const float ang = 360.0f * i / n + RndF(-4, 4);
        TParticle* p = throwParticle(l, i % 3 == 0 ? kStar : sparkFrame(), x, y, ang,
                                     radius * RndF(0.8f, 1.0f), 40, Rand(1000, 1400), delay + rise);
        if (!p) return;
        p->startS = i % 3 == 0 ? 0.35f : 0.6f;
        p->ds = 0.1f;
        p->startR = RndF(0, 360);
        p->dr = p->startR + 200;
        p->rgb = i % 2 ? c : c2;
    }
    for (int i = 0; i < 8; ++i) {
        TParticle* p =
            throwParticle(l, kConfetti, x, y, RndF(0, 360), RndF(30, 80), 90, Rand(1200, 1600), delay + rise);
        if (!p) return;
        p->blend = ALPHABLEND;
        p->startS = 0.8f;
        p->ds = 0.8f;
        p->startR = RndF(0, 360);
        p->dr = p->startR + RndF(-540, 540);
        p->rgb = hues[Rand(0, 5)];
    }
}

void rowBurst(float x0, float x1, float y, int delay, TParticleList* l) {
    const int n = 14;
    for (int i = 0; i < n; ++i) {
        const float x = x0 + (x1 - x0) * (static_cast<float>(i) + RndF(0, 1)) / n;
        TParticle* p = throwParticle(l, sparkFrame(), x, y + RndF(-6, 6), RndF(240, 300), RndF(10, 30), 0,
                                     Rand(400, 650), delay + i * 12);
        if (!p) return;
        p->startS = RndF(0.4f, 0.7f);
        p->ds = 0.1f;
        p->startR = RndF(0, 360);
        p->dr = p->startR + 120;
        p->rgb = TRGB{255, 236, 160};
    }
}
