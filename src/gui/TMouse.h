// Reads the mouse once a frame, turns presses into clicks (at once, or on
// release for screens with drag gestures) and draws the game's cursor.
#pragma once

#include <list>
#include <string>

#include "gui/TCursor.h"
#include "data/TDim.h"

class TMouse {
public:
    std::list<TCursorPtr> listaKursorow;
    int x = 0, y = 0;
    int px = 0, py = 0;
    int vx = 0, vy = 0;  // previous minus current
    int leftPressed = 0, rightPressed = 0;
    int leftHolded = 0, rightHolded = 0;
    int middleHit = 0, middleHold = 0;
    int lHoldTime = 0, rHoldTime = 0, _lastRHolded = 0;
    int _lastLHolded = 0;
    int _v = 1;
    TCursorPtr cur;
    int _leftHolded = 0;  // a left press is being timed (press-on-release mode)
    int _leftHoldedTime = 0;
    ImagePtr point;

    // The mouse every widget hit test reads: the last one constructed.
    static TMouse* current;

    TMouse();
    ~TMouse();
    TMouse(const TMouse&) = delete;
    TMouse& operator=(const TMouse&) = delete;

    int updateSpec();
    int update();
    int draw();
    int show();
    int hide();
    int inRect(int x, int y, int w, int h) const;
    int inDim(const TDim& d) const;
    int inDim(const TDimPtr& d) const { return d ? inDim(*d) : 0; }
    // source: an image (loadCursor(name, img, ...)) or a path.
    int loadCursor(const std::string& name, const ImagePtr& img, int hx, int hy, int frames, int frameMs);
    int loadCursor(const std::string& name, const std::string& path, int hx, int hy, int frames, int frameMs);
    int setCursor(const std::string& name);
    int clear();

private:
    int _addCursor(const TCursorPtr& c);
    void _readPosition();
    TMouse* _previous = nullptr;
};

// The game's one mouse. Screens and frameUpdate use it directly.
extern TMouse mouse;
