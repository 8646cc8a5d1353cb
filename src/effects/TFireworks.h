// A fireworks show: rockets rise from below the screen on a trail of sparks
// and burst near the top of their climb into a flash and a ball of sparks
// that fly out, slow down, sag under gravity, fade and (some) twinkle.
// Bursts come staggered, in changing colours. The show only makes pictures;
// whoever runs it plays a pop for each burst that update() reports.
#pragma once

#include <vector>

#include "data/TRGB.h"
#include "effects/TParticle.h"

class TFireworks {
public:
    explicit TFireworks(int capacity = 2400);

    struct Rocket {
        float x0 = 0, y0 = 0;  // launched from here (below the screen's edge)
        float x1 = 0, y1 = 0;  // bursts here
        float x = 0, y = 0;
        int launch = 0, rise = 700;  // clock time of the launch, ms of the climb
        int colour = 0;              // index into palette()
        bool flying = false;
    };

    // Starts a show: a first salvo at once, then a burst or two every
    // half second or so until stop().
    void start();
    // No new rockets; those in the air still burst, the sparks fade out.
    void stop();
    // Everything gone at once.
    void clear();
    bool running() const { return _running; }
    // While set, bursts are placed outside this rectangle (a panel the
    // sparks may fly behind); a zero size clears it.
    void setShelter(float x, float y, float w, float h);

    // A rocket that bursts at (x, y) in colour c after climbing for rise ms,
    // launched delay ms from now.
    void launch(float x, float y, int c, int delay = 0, int rise = 700);
    // The frame: launches what is due, moves the rockets, bursts those at the
    // top of their climb; returns how many burst this frame.
    int update();
    void draw();

    const std::vector<Rocket>& rockets() const { return _rockets; }
    const TParticleList& sparks() const { return _list; }
    int bursts() const { return _bursts; }  // since the last start() or clear()

    static const std::vector<TRGB>& palette();
    // Where a burst may go: in the sky (x 120..904, y 70..380) and, with a
    // shelter, at least a margin outside it (pure, for tests).
    static bool goodSpot(float x, float y, float sx, float sy, float sw, float sh);

private:
    void _burst(const Rocket& r);
    void _trail(const Rocket& r, float px, float py);
    void _scheduleNext(int now);
    void _pickSpot(float& x, float& y) const;
    TParticleList _list;
    std::vector<Rocket> _rockets;
    bool _running = false;
    int _nextLaunch = 0;
    int _lastColour = -1;
    int _bursts = 0;
    float _sx = 0, _sy = 0, _sw = 0, _sh = 0;
};

// The show shared by the play screen (as its board leaves) and the win
// screen that follows it.
TFireworks& fireworks();
