#include "match3/TPowerUp.h"

#include <array>
#include <cstdio>

#include "platform/Services.h"
#include "data/TRCMFile.h"
#include "match3/TChipData.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"
#include "match3/TM3Particles.h"
#include "match3/TTileData.h"

namespace {
std::array<int, 6> gCharge = {20, 25, 30, 35, 40, 45};
std::array<int, 6> gUnlock = {2, 6, 12, 20, 30, 40};

float approach(float v, float target, float step) {
    if (v < target) return v + step > target ? target : v + step;
    if (v > target) return v - step < target ? target : v - step;
    return v;
}
}  // namespace

std::function<void(const std::string&, int, int)> TPowerUp::setWidgetState;
std::function<bool(const std::string&, float&, float&)> TPowerUp::widgetCentre;

void TPowerUp::loadTable(const std::string& path) {
    TRCMFile f;
    f.Load(m3DataPath(path));  // always answers 0; _loaded tells whether it worked
    if (!f._loaded) {
        std::fprintf(stderr, "powerUps: cannot read %s, using the default charges\n", path.c_str());
        return;
    }
    for (int i = 0; i < 6; ++i) {
        const std::string k = std::to_string(i + 1);
        const int ch = f.getInt("powerUpsTimes::data" + k);
        if (ch > 0) gCharge[i] = ch;
        const int un = f.getInt("powerUpsUnlock::data" + k);
        if (un > 0) gUnlock[i] = un;
    }
}

int TPowerUp::charge(int slot) { return (slot >= 1 && slot <= 6) ? gCharge[slot - 1] : 1; }

int TPowerUp::unlockLevel(int slot) { return (slot >= 1 && slot <= 6) ? gUnlock[slot - 1] : 0; }

float TPowerUp::getPercent() {
    if (aktywny) return 1.0f;
    if (odkryty) return static_cast<float>(data) / static_cast<float>(charge(n));
    return 0.3f;
}

void TPowerUp::use(int i) {
    aktywny = 0;
    data = 0;
    unitTime = Millisecs() + 100;
    if (setWidgetState) setWidgetState("bonus_" + std::to_string(i), 1, 0);
}

void TPowerUp::addData(int amount) {
    if (aktywny) return;  // a full power-up takes no more
    data += amount;
    const int full = charge(n);
    if (data >= full) {
        data = full;
        state = 1;
        m3Effects().playSound("powerUp" + std::to_string(n));
        if (odkryty) aktywny = 1;
    }
}

void TPowerUp::updateRotation() {
    rot += 4.0f * frameDelta;
    while (rot >= 360.0f) rot -= 360.0f;
}

void TPowerUp::updateAlpha() { alpha = approach(alpha, dAlpha, 0.05f * frameDelta); }

void TPowerUp::update_state_1() {
    dAlpha = 1;
    if (alpha >= 1) {
        time = Millisecs() + 1500;
        state = 2;
    }
}

void TPowerUp::update_state_2() {
    const int now = Millisecs();
    if (now >= partTime) {
        partTime = now + 50;
        generate();
    }
    if (now > time) state = 3;
}

void TPowerUp::update_state_3() {
    dAlpha = 0;
    state = 4;
}

void TPowerUp::update_state_4() {
    if (alpha <= 0) state = 0;
}

void TPowerUp::update(int) {
    if (!odkryty) return;
    updateRotation();
    updateAlpha();
    switch (state) {
        case 1: update_state_1(); break;
        case 2: update_state_2(); break;
        case 3: update_state_3(); break;
        case 4: update_state_4(); break;
        default:
            dAlpha = 0;
            rot = 0;
            break;
    }
}

void TPowerUp::generate() {
    float x = 0, y = 0;
    if (!widgetCentre || !widgetCentre("BONUS_" + std::to_string(n), x, y)) return;
    int r = 255, g = 255, b = 255;
    if (n >= 1 && n <= 6 && TM3Game::powerUpColor[n - 1]) {
        const TRGB c = TM3Game::powerUpColor[n - 1]->rgb;
        r = c.r;
        g = c.g;
        b = c.b;
    }
    for (int i = 0; i < 8; ++i) m3Particles().powerUpSparkle(x, y, r, g, b, Rand(0, 15));
    for (int i = 0; i < 2; ++i) m3Particles().powerUpSparkle(x, y, 255, 255, 255, Rand(0, 15));
}
