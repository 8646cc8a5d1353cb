// Turns a recipe into samples: sound effects (mono, one-shot) and music
// (stereo loops whose end flows seamlessly into their start).
#pragma once

#include <vector>

#include "Recipe.h"

namespace synth {

struct Audio {
    int channels = 1;
    std::vector<float> samples;  // interleaved
    bool loop = false;
    double quality = 0.4;  // Vorbis quality the recipe asks for
    size_t frames() const { return channels ? samples.size() / channels : 0; }
};

Audio renderSfx(const Recipe& r);
Audio renderMusic(const Recipe& r);
Audio render(const Recipe& r);  // by the header's "kind" (sfx or music)

// Memoryless soft knee above `knee`, so peaks never pass `ceiling`; being
// memoryless it keeps a loop seamless.
double softLimit(double x, double knee, double ceiling);

}  // namespace synth
