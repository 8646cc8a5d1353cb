// The particle-making operations the screens call: bursts when chips and
// plates break, score and chain numbers, caption words, sparkles and
// fireworks. Each takes a position, a colour or a value and a start delay,
// and appends to a list (the global one when null).
#pragma once

#include "effects/TParticle.h"

// Loads every picture table the particle kinds use (once).
void setupParticles();

// Destruction bursts by type: 0 normal, 1 horizontal fire, 2 vertical fire,
// 3 bomb, 4 cross (angle in degrees: the direction the blast travels).
enum : int {
    DESTROY_NORMAL = 0,
    DESTROY_FIRE_H = 1,
    DESTROY_FIRE_V = 2,
    DESTROY_BOMB = 3,
    DESTROY_CROSS = 4
};
void destroyParticles(float x, float y, const TRGB& c, int type, float angle = 0, int delay = 0,
                      TParticleList* l = nullptr);
// A plate layer broke: kind 1 single layer, kind 2 double layer.
void plateBreakParticles(float x, float y, float w, float h, int kind, TParticleList* l = nullptr);
// A chain on a tile snapped.
void chainParticles(float x, float y, TParticleList* l = nullptr);
// "+score" rising from (x, y).
void scoreParticle(float x, float y, int score, int delay = 0, TParticleList* l = nullptr);
// A chain or group length: the number with a word.
void chainLengthParticle(float x, float y, int n, TParticleList* l = nullptr);
// Caption words by kind: 0 excellent, 1 go, 2 great, 3 spectacular,
// 4 terrific, 5 level complete, 6 no move left, 7 ready, 8 time's up, 9 matched.
void textParticle(int kind, float x, float y, int delay = 0, TParticleList* l = nullptr);
int captionOfKind(int kind);
// A sparkle flying out from (x, y) in a random direction.
void sparkle(float x, float y, const TRGB& c, int delay, TParticleList* l = nullptr);
// One small still glow (highlights).
void dotParticle(float x, float y, const TRGB& c, TParticleList* l = nullptr);
// A spark of picture frame 0-15 rising from a charged power-up.
void powerUpSparkle(float x, float y, const TRGB& c, int frame, TParticleList* l = nullptr);
// A blast of smoke, shards and a ring.
void explosionParticles(float x, float y, TParticleList* l = nullptr);
// A firework bursting at (x, y) in a random bright colour.
void firework(float x, float y, int delay = 0, TParticleList* l = nullptr);
// A row of sparkles along a line from x0 to x1 at y (the win screen's rows).
void rowBurst(float x0, float x1, float y, int delay = 0, TParticleList* l = nullptr);
