// Fuzz target: the level loader on arbitrary text. Whatever the bytes, loading
// either refuses the level or builds a complete board whose frames, saving
// and chip states work.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/Services.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "match3/TBackGround.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"

namespace {

TM3Game* fixtureGame() {
    static TM3Game* game = [] {
        // The small catalogues of the board tests, found beside this source.
        std::string here = __FILE__;
        here = here.substr(0, here.find_last_of('/'));
        dataRoot = here + "/../fixtures/match3/";
        auto* g = new TM3Game();
        g->loadSettings("data/settings.dat");
        g->loadTiles("data/tiles.dat");
        g->loadChips("data/chips.dat");
        g->loadBonusChips("data/bonusy.dat");
        g->loadFrame("data/frames.dat");
        loadBackgrounds("data/backgrounds.dat");
        return g;
    }();
    return game;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TM3Game* game = fixtureGame();
    SeedRnd(1);
    frameDelta = 1.0f;
    TRCMFile file;
    file.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    std::fflush(stderr);
    auto lvl = loadLevelFromRCM(file, "fuzz", game);
    if (!lvl) return 0;
    if (lvl->rows < 1 || lvl->rows > 30 || lvl->cols < 1 || lvl->cols > 30) __builtin_trap();
    if (lvl->ramka.size() != static_cast<size_t>(lvl->rows + 2)) __builtin_trap();
    for (auto& row : lvl->tile)
        for (auto& t : row) {
            if (!t || !t->td) __builtin_trap();  // every cell has a kind
            if (t->chip && t->chip->tile != t.get()) __builtin_trap();
        }
    lvl->setPosition(512, 384);
    lvl->allTilesAre(0);
    lvl->checkIfPuzzles();
    lvl->CreateCreatorsList();
    // Writing the frame values back must give what was read.
    TRCMFile out;
    lvl->_saveLevelFrame(out);
    lvl->_saveLevelTiles(out);
    lvl->CreateLevelFrames();
    // A few frames of every chip's state machine from a handful of states.
    static const char* states[] = {"FALL-DOWN", "LAND", "MOVE-LEFT", "MOVE-UP-TO-FALL-DOWN",
                                   "DESTROY"};
    int k = 0;
    for (auto& row : lvl->tile)
        for (auto& t : row)
            if (t->chip) {
                auto chip = t->chip;
                chip->setState(states[k++ % 5]);
                for (int i = 0; i < 3; ++i) chip->update();
                chip->draw(t->dim.x, t->dim.y, 0);
            }
    return 0;
}
