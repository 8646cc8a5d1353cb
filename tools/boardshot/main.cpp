// boardshot LEVEL OUT.png [--tileset N] [--back ID] [--data DIR]
// Loads the board tables and one level file into the board engine, lays out
// its frame when the file has none, and saves the first frame the engine
// draws (background and board) as a PNG, using the headless backend.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"
#include "data/DataGlobals.h"
#include "match3/TBackGround.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"

int main(int argc, char** argv) {
    std::string level, out, data = BRIMBLE_GAME_DIR;
    int tileset = 0, back = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--tileset" || a == "--back" || a == "--data") && i + 1 < argc) {
            const std::string v = argv[++i];
            if (a == "--data")
                data = v;
            else
                (a == "--tileset" ? tileset : back) = std::atoi(v.c_str());
        } else if (level.empty()) {
            level = a;
        } else if (out.empty()) {
            out = a;
        } else {
            std::fprintf(stderr, "usage: boardshot LEVEL OUT.png [--tileset N] [--back ID] [--data DIR]\n");
            return 2;
        }
    }
    if (level.empty() || out.empty()) {
        std::fprintf(stderr, "usage: boardshot LEVEL OUT.png [--tileset N] [--back ID] [--data DIR]\n");
        return 2;
    }
    level = std::filesystem::absolute(level).string();
    out = std::filesystem::absolute(out).string();
    if (!data.empty() && data.back() != '/') data += '/';
    dataRoot = data;

    InstallBackend(MakeHeadlessBackend());
    if (!OpenGraphics(1024, 768, 32, 60)) {
        std::fprintf(stderr, "boardshot: cannot open the headless screen\n");
        return 1;
    }
    auto game = std::make_shared<TM3Game>();
    game->loadSettings("data/settings.dat");
    game->loadTiles("data/tiles.dat");
    game->loadChips("data/chips.dat");
    game->loadBonusChips("data/bonusy.dat");
    game->loadFrame("data/frames.dat");
    game->loadOverImg("gfx/select.png", 5, 5);
    loadBackgrounds("data/backgrounds.dat");
    auto lvl = loadLevelFile(level, game.get());
    if (!lvl || lvl->rows == 0) {
        std::fprintf(stderr, "boardshot: cannot read the level %s\n", level.c_str());
        return 1;
    }
    bool framed = false;
    for (auto& row : lvl->ramka)
        for (auto& f : row)
            if (f && f->lista.size() > 1) framed = true;
    if (!framed) lvl->CreateLevelFrames();
    if (back >= 0) lvl->setBackGround(back);
    game->setLevel(lvl);
    if (tileset) game->loadTileSet(tileset);
    game->setLevelPosition(534, 406);
    lvl->setGlobalAlpha(1);
    lvl->setFrameAlpha(1);

    ForceDrawing(true);
    Cls();
    game->drawBack();
    game->draw();
    TPixmap pix = GrabPixmap(0, 0, 1024, 768);
    ForceDrawing(false);
    if (!SavePixmapPNG(pix, out)) {
        std::fprintf(stderr, "boardshot: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
