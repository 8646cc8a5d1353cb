#include "app/PlaySprites.h"

#include <algorithm>
#include <cmath>

#include "match3/TChip.h"
#include "match3/TTile.h"

std::vector<TFlyingTilePtr> PlaySprites::flyingTiles;
std::vector<TOdpadPtr> PlaySprites::odpady;
std::vector<TFlyingResource> PlaySprites::resources;
std::vector<TChipGhost> PlaySprites::ghosts;
std::vector<TFlyingCaption> PlaySprites::captions;
std::vector<TBonusEmitter> PlaySprites::emitters;
ImagePtr PlaySprites::glow;

namespace {

// Removes, in order, the elements for which keep() is false (no allocation).
template <class V, class F>
void keepIf(V& v, F keep) {
    v.erase(std::remove_if(v.begin(), v.end(), [&](auto& e) { return !keep(e); }), v.end());
}

float clamp01(float t) { return t < 0 ? 0 : (t > 1 ? 1 : t); }

void resetState() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetRotation(0);
    SetScale(1, 1);
}

}  // namespace

void PlaySprites::updateFlyingTiles() {
    const int now = Millisecs();
    keepIf(flyingTiles, [&](const TFlyingTilePtr& f) { return f->update(now); });
}

void PlaySprites::updateOdpady() {
    const int now = Millisecs();
    keepIf(odpady, [&](const TOdpadPtr& o) { return o->update(now); });
}

void PlaySprites::updateResources() {
    const int now = Millisecs();
    keepIf(resources, [&](TFlyingResource& r) {
        const float t = clamp01(static_cast<float>(now - r.startTime) / static_cast<float>(r.duration));
        const float u = 1 - t;
        r.x = u * u * r.x0 + 2 * u * t * r.mx + t * t * r.x1;
        r.y = u * u * r.y0 + 2 * u * t * r.my + t * t * r.y1;
        return now - r.startTime < r.duration;
    });
}

void PlaySprites::updateGhosts() {
    const int now = Millisecs();
    keepIf(ghosts, [&](TChipGhost& g) {
        const float t = clamp01(static_cast<float>(now - g.startTime) / static_cast<float>(g.duration));
        const float e = t * t * (3 - 2 * t);
        g.x = g.x0 + (g.x1 - g.x0) * e;
        g.y = g.y0 + (g.y1 - g.y0) * e;
        return now - g.startTime < g.duration;
    });
}

void PlaySprites::updateCaptions() {
    const int now = Millisecs();
    // In for 700 ms (slowing down), 1300 ms slow drift, out for 600 ms (speeding up).
    keepIf(captions, [&](TFlyingCaption& c) {
        const int t = now - c.startTime;
        if (t < 0) {
            c.x = c.x0;
            c.alpha = 0;
            return true;
        }
        const float dir = c.x1 > c.x0 ? 1.0f : -1.0f;
        if (t < 700) {
            const float e = 1 - std::pow(1 - t / 700.0f, 3.0f);
            c.x = c.x0 + (c.x1 - c.x0) * e;
            c.alpha = clamp01(t / 300.0f);
        } else if (t < 2000) {
            c.x = c.x1 + dir * 40.0f * (t - 700) / 1300.0f;
            c.alpha = 1;
        } else {
            const float e = (t - 2000) / 600.0f;
            c.x = c.x1 + dir * (40.0f + 1100.0f * e * e);
            c.alpha = clamp01(1 - e);
        }
        return t < 2600;
    });
}

void PlaySprites::updateEmitters() {
    const int now = Millisecs();
    keepIf(emitters, [&](TBonusEmitter& e) {
        bool alive = false;
        for (auto& s : e.sparks) {
            if (s.done) continue;
            if (now >= s.launch + e.duration) {
                s.done = true;
                if (auto ch = s.chip.lock())
                    if (ch->tile && ch->tile->chip == ch && ch->state.empty()) ch->destroy(0);
            } else {
                alive = true;
            }
        }
        return alive;
    });
}

void PlaySprites::drawFlyingTiles() {
    for (const auto& f : flyingTiles) f->draw();
    resetState();
}

void PlaySprites::drawOdpady() {
    for (const auto& o : odpady) o->draw();
    resetState();
}

void PlaySprites::drawResources() {
    const int now = Millisecs();
    for (const auto& r : resources) {
        if (now < r.startTime) continue;
        if (glow) {
            SetBlend(LIGHTBLEND);
            SetColor(r.r, r.g, r.b);
            SetAlpha(0.8f);
            SetScale(0.9f, 0.9f);
            DrawImage(glow, r.x, r.y);
        }
        if (r.img) {
            SetBlend(ALPHABLEND);
            SetColor(255, 255, 255);
            SetAlpha(1);
            SetScale(0.55f, 0.55f);
            DrawImage(r.img, r.x, r.y);
        }
    }
    resetState();
}

void PlaySprites::drawGhosts() {
    for (const auto& g : ghosts) {
        if (!g.img) continue;
        SetBlend(LIGHTBLEND);
        SetAlpha(0.6f);
        SetScale(0.9f, 0.9f);
        DrawImage(g.img, g.x, g.y, g.frame < g.img->frameCount ? g.frame : 0);
    }
    resetState();
}

void PlaySprites::drawCaptions() {
    for (const auto& c : captions) {
        if (c.alpha <= 0) continue;
        SetImageFont(c.font);
        const int w = TextWidth(c.text), h = TextHeight(c.text);
        if (c.ribbon) {
            // The ribbon (mid-handled) stretched to the text; its band is its upper middle.
            SetBlend(ALPHABLEND);
            SetColor(255, 255, 255);
            SetAlpha(c.alpha);
            const float sx = std::max(1.0f, (w + 200.0f) / std::max(1, ImageWidth(c.ribbon)));
            SetScale(sx, 1);
            DrawImage(c.ribbon, c.x, c.y + 8);
            SetScale(1, 1);
        }
        SetBlend(ALPHABLEND);
        SetColor(0, 0, 0);
        SetAlpha(c.alpha * 0.5f);
        DrawText(c.text, c.x - w / 2 + 3, c.y - h / 2 - 6 + 3);
        SetColor(c.r, c.g, c.b);
        SetAlpha(c.alpha);
        DrawText(c.text, c.x - w / 2, c.y - h / 2 - 6);
    }
    resetState();
}

void PlaySprites::drawEmitters() {
    if (!glow) return;
    const int now = Millisecs();
    SetBlend(LIGHTBLEND);
    for (const auto& e : emitters)
        for (const auto& s : e.sparks) {
            if (s.done || now < s.launch) continue;
            const float t = clamp01(static_cast<float>(now - s.launch) / static_cast<float>(e.duration));
            // A little hop on the way.
            const float x = e.x0 + (s.x1 - e.x0) * t, y = e.y0 + (s.y1 - e.y0) * t - 80 * std::sin(3.14159265f * t);
            SetColor(255, 230, 120);
            SetAlpha(1);
            SetScale(0.7f, 0.7f);
            DrawImage(glow, x, y);
        }
    resetState();
}

void PlaySprites::clearFlyingTiles() {
    for (auto& f : flyingTiles)
        if (f->tile) f->tile->_flyingTile.reset();
    flyingTiles.clear();
}

void PlaySprites::clearOdpady() {
    for (auto& o : odpady)
        if (o->tile && o->chip) o->tile = nullptr;  // never started: the chip stays on the board
    odpady.clear();
}

void PlaySprites::clearAll() {
    clearFlyingTiles();
    clearOdpady();
    resources.clear();
    ghosts.clear();
    captions.clear();
    emitters.clear();
}
