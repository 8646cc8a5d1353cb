#include "screens/TChmura.h"

#include <cmath>


ImagePtr TChmura::pictures[2];

std::list<TChmuraPtr>& TChmura::all() {
    static std::list<TChmuraPtr> l;
    return l;
}

TChmuraPtr TChmura::createNew(float x) {
    auto c = std::make_shared<TChmura>();
    c->n = Rand(0, 1);
    c->x = x;
    c->y = static_cast<float>(Rand(-40, 200));
    c->ax = RndF(-0.5f, -0.05f);
    c->drawX = std::floor(x);
    all().push_back(c);
    return c;
}

bool TChmura::update() {
    x += ax * frameDelta;
    const ImagePtr& img = pictures[n];
    const float w = img ? static_cast<float>(ImageWidth(img)) : 0.0f;
    return x >= -w;
}

void TChmura::draw() const {
    const ImagePtr& img = pictures[n];
    if (img) DrawImage(img, drawX, std::floor(y));
}

namespace {
unsigned g_tick = 0;
}  // namespace

bool TChmura::stepped() {
    return g_tick % kDrawEvery == 0;
}

void TChmura::updateAll() {
    const bool step = ++g_tick % kDrawEvery == 0;
    auto& l = all();
    if (step)
        for (auto& c : l) c->drawX = std::floor(c->x);
    // A cloud past the edge goes on a step frame too: a draw call fewer is
    // a changed frame like any other.
    for (auto it = l.begin(); it != l.end();) {
        if ((*it)->update() || !step)
            ++it;
        else
            it = l.erase(it);
    }
}

void TChmura::drawAll() {
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetScale(1, 1);
    SetRotation(0);
    for (auto& c : all()) c->draw();
}
