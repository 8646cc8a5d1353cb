#include "jigsaw/JigsawProfileLinks.h"

#include "jigsaw/TPuzzleLevel.h"

void connectJigsawToProfiles(ProfileHooks& h) {
    h.loadPuzzleLevel = [](const std::string& path, int flag) { return loadPuzzleLevel(path, flag); };
    h.savePuzzleLevel = [](const TPuzzleLevelPtr& level, const std::string& path) {
        return level && level->save(path);
    };
    h.puzzleId = [](const TPuzzlePtr& p) { return p ? p->id : 0; };
    h.puzzleById = [](const TPuzzleLevelPtr& level, int id) {
        return level ? level->getPuzzleById(id) : TPuzzlePtr();
    };
    h.allPieces = [](const TPuzzleLevelPtr& level) {
        return level ? level->allPuzzles : std::vector<TPuzzlePtr>();
    };
    h.markPieceNew = [](const TPuzzlePtr& p) {
        if (!p) return;
        p->aktywny = 1;
        p->nowy = 1;
    };
}
