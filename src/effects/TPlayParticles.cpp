#include "effects/TPlayParticles.h"

namespace {
TPlayParticles noParticles;
TPlayParticles* current = &noParticles;
}  // namespace

TPlayParticles& playParticles() {
    return *current;
}

void setPlayParticles(TPlayParticles* p) {
    current = p ? p : &noParticles;
}
