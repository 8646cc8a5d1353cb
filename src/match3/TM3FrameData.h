// One frame piece kind of the frame catalogue ("data/frames.dat").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"

class TM3Game;
class TRCMFile;

class TM3FrameData {
public:
    TM3Game* m3Game = nullptr;
    int id = 0;
    ImagePtr gfx;
    int frames = 0, frameW = 0, frameH = 0;
    std::string url;
    int dx = 0, dy = 0;  // the neighbouring plate the piece borders
    std::string typ;     // "" edge / outer corner, "IN" inner corner
};
using TM3FrameDataPtr = std::shared_ptr<TM3FrameData>;

// Entry "frames::frame<n>" of an open catalogue; loads its image.
TM3FrameDataPtr loadFrameData(TRCMFile& file, int n, TM3Game* game = nullptr);
// The whole catalogue: "frames::i" = n, then entries 0 .. n.
std::vector<TM3FrameDataPtr> loadFrameCatalogue(const std::string& path, TM3Game* game = nullptr);
