#include "app/TOdpad.h"

#include <algorithm>

#include "platform/Services.h"
#include "match3/TChip.h"
#include "match3/TTile.h"

float TOdpad::fadeY = 700;
float TOdpad::endY = 840;

void TOdpad::begin() {
    falling = true;
    if (tile) {
        if (chip && tile->chip == chip) {
            x = tile->dim.x + chip->adx;
            y = tile->dim.y + chip->adY;
            tile->setChip(nullptr);
        } else if (chip && chip->tile && chip->tile->chip == chip) {
            // It fell to another cell while waiting: leave from there.
            TTile* t = chip->tile;
            x = t->dim.x + chip->adx;
            y = t->dim.y + chip->adY;
            t->setChip(nullptr);
        } else {
            chip.reset();  // already gone (matched meanwhile)
        }
        tile = nullptr;
    }
    vx = RndF(-2.5f, 2.5f);
    vy = RndF(-5.0f, -2.0f);
    vr = RndF(-8, 8);
}

bool TOdpad::update(int now) {
    if (!falling) {
        if (now < startTime) return true;
        begin();
    }
    if (!chip) return false;
    if (vanish) {
        scale -= 0.04f * frameDelta;
        alpha -= 0.04f * frameDelta;
        rot += vr * frameDelta;
        return alpha > 0 && scale > 0;
    }
    x += vx * frameDelta;
    y += vy * frameDelta;
    vy += 0.45f * frameDelta;
    rot += vr * frameDelta;
    if (y > fadeY) alpha = std::max(0.0f, alpha - 0.05f * frameDelta);
    return y < endY && alpha > 0;
}

void TOdpad::draw() const {
    if (!falling || !chip || !chip->cd || !chip->cd->gfx) return;
    const ImagePtr& img = chip->cd->gfx;
    SetBlend(ALPHABLEND);
    SetRotation(rot);
    SetScale(scale, scale);
    SetColor(0, 0, 0);
    SetAlpha(alpha * 0.35f);
    DrawImage(img, x + 4, y + 4, chip->frame < img->frameCount ? chip->frame : 0);
    SetColor(255, 255, 255);
    SetAlpha(alpha);
    DrawImage(img, x, y, chip->frame < img->frameCount ? chip->frame : 0);
}
