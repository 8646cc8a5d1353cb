#include "match3/TM3Particles.h"

namespace {
TM3Particles noParticles;
TM3Particles* current = &noParticles;
}  // namespace

TM3Particles& m3Particles() {
    return *current;
}

void setM3Particles(TM3Particles* particles) {
    current = particles ? particles : &noParticles;
}
