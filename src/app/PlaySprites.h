// The play screen's flying sprites, each list global like the particles:
// opening/closing flying tiles, falling pieces, flying resources that charge
// power-ups, chip ghosts that form bonus chips, flying captions, and the
// random-removal emitter. Everything is updated and drawn once a frame.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/TFlyingTile.h"
#include "app/TOdpad.h"
#include "platform/Services.h"

class TChip;
class TTile;

// A chip picture flying from a matched chip to its power-up button.
struct TFlyingResource {
    ImagePtr img;
    int r = 255, g = 255, b = 255;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, mx = 0, my = 0, x = 0, y = 0;
    int startTime = 0, duration = 600;
};

// A faint copy of a matched chip flying to the tile where the bonus forms.
struct TChipGhost {
    ImagePtr img;
    int frame = 0;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0, x = 0, y = 0;
    int startTime = 0, duration = 300;
};

// A caption that flies in, rests a moment and flies on.
struct TFlyingCaption {
    std::string text;
    FontPtr font;
    int r = 255, g = 255, b = 255;
    float x0 = 0, x1 = 0, y = 0, x = 0;
    int startTime = 0;
    float alpha = 0;
    ImagePtr ribbon;
};

// Sparks from a power-up button to chips, each removing its chip on arrival.
struct TBonusEmitter {
    struct Spark {
        std::weak_ptr<TChip> chip;
        float x1 = 0, y1 = 0;
        int launch = 0;
        bool done = false;
    };
    float x0 = 0, y0 = 0;
    int duration = 300;
    std::vector<Spark> sparks;
};

class PlaySprites {
public:
    static std::vector<TFlyingTilePtr> flyingTiles;
    static std::vector<TOdpadPtr> odpady;
    static std::vector<TFlyingResource> resources;
    static std::vector<TChipGhost> ghosts;
    static std::vector<TFlyingCaption> captions;
    static std::vector<TBonusEmitter> emitters;
    static ImagePtr glow;  // the trail and spark picture

    static void updateFlyingTiles();
    static void updateOdpady();
    static void updateResources();
    static void updateGhosts();
    static void updateCaptions();
    static void updateEmitters();
    static void drawFlyingTiles();
    static void drawOdpady();
    static void drawResources();
    static void drawGhosts();
    static void drawCaptions();
    static void drawEmitters();
    // Drops every sprite (a new level, the screen closing). Flying tiles give
    // their tiles back first.
    static void clearAll();
    static void clearFlyingTiles();
    static void clearOdpady();
};
