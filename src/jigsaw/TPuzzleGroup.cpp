#include "jigsaw/TPuzzleGroup.h"

#include <algorithm>

bool TPuzzleGroup::has(const TPuzzle* p) const {
    return std::find(grupa.begin(), grupa.end(), p) != grupa.end();
}

// The shadows come from drawShadow, which the board draws under every entry
// first; drawing them here again would darken a group's shadow twice.
void TPuzzleGroup::draw(float screenAlpha) {
    for (TPuzzle* m : grupa) m->draw(screenAlpha);
}

void TPuzzleGroup::drawShadow(float screenAlpha) {
    for (TPuzzle* m : grupa) m->drawShadow(screenAlpha);
}

int TPuzzleGroup::update(const TPuzzleFrame& f) {
    const float held = f.held == this ? 1.0f : 0.0f;
    const int over = updateOver(f.mouseX, f.mouseY);
    for (TPuzzle* m : grupa) {
        m->dClickA = held;
        m->dOverA = over ? 1.0f : 0.0f;
        m->animate(f.d);
    }
    return over;
}

int TPuzzleGroup::updateOver(int mouseX, int mouseY) {
    for (TPuzzle* m : grupa)
        if (m->updateOver(mouseX, mouseY)) return 1;
    return 0;
}

void TPuzzleGroup::setPosition(float ddx, float ddy) {
    for (TPuzzle* m : grupa) m->setPosition(ddx, ddy);
}

int TPuzzleGroup::inRect(int x, int y, int rw, int rh) {
    return grupa.empty() ? 0 : grupa.front()->inRect(x, y, rw, rh);
}
