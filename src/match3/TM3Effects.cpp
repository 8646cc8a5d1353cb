#include "match3/TM3Effects.h"

namespace {
TM3Effects noEffects;
TM3Effects* current = &noEffects;
}  // namespace

TM3Effects& m3Effects() { return *current; }

void setM3Effects(TM3Effects* effects) { current = effects ? effects : &noEffects; }
