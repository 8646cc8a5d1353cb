// One tile kind of the tile catalogue ("data/tiles.dat" / "data/tiles1.dat").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"

class TM3Game;
class TRCMFile;

class TTileData {
public:
    int id = 0;  // 0 hole, 1 plain plate, 2 and 3 plates with one or two layers
    ImagePtr gfx;
    int frameW = 0, frameH = 0, frames = 0;
    int match = 0;  // layers still to break
    std::string url;
    TM3Game* m3Game = nullptr;
};
using TTileDataPtr = std::shared_ptr<TTileData>;

// Entry "tiles::tile<n>" of an open catalogue; loads its image.
TTileDataPtr loadTileData(TRCMFile& file, int n, TM3Game* game = nullptr);
// The whole catalogue: "tiles::i" = n, then entries 0 .. n. Path relative to the data root.
std::vector<TTileDataPtr> loadTileCatalogue(const std::string& path, TM3Game* game = nullptr);
// Loads a catalogue picture as a strip (frames > 1) or a single image, mid-handled;
// a missing picture prints the notice with the given prefix and gives null.
ImagePtr loadCatalogueImage(const std::string& url, int frames, int frameW, int frameH,
                            const char* notice);
// Data-root-relative path -> path to open.
std::string m3DataPath(const std::string& rel);
