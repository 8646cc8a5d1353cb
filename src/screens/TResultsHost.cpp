#include "screens/TResultsHost.h"

#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "profiles/TProfile.h"

namespace {
TResultsHost playScreenHost;
TResultsHost* current = &playScreenHost;
}  // namespace

TResultsHost& resultsHost() {
    return *current;
}
void setResultsHost(TResultsHost* host) {
    current = host ? host : &playScreenHost;
}

std::shared_ptr<TLevel> TResultsHost::level() {
    return mainGame ? mainGame->level : nullptr;
}

std::string TResultsHost::gameMode() {
    return mainGame ? mainGame->player().gameMode : std::string("RELAXED");
}

std::string TResultsHost::timeLeft() {
    return mainGame ? mainGame->getTimeLeft() : std::string("0:00");
}

int TResultsHost::platesBroken() {
    return mainGame ? mainGame->platesBroken() : 0;
}

int TResultsHost::profileScore() {
    return mainGame ? mainGame->player().score : 0;
}

void TResultsHost::addProfileScore(int n) {
    if (mainGame) mainGame->player().score += n;
}

void TResultsHost::addProfilePuzzles(int n) {
    if (mainGame && n > 0) mainGame->player().addPuzzles(n);
}

int TResultsHost::puzzlesMissing() {
    if (!mainGame) return 0;
    TProfile& p = mainGame->player();
    const auto& h = profileHooks();
    if (!p.puzzleLevel || !h.allPieces) return 0;
    const int all = static_cast<int>(h.allPieces(p.puzzleLevel).size());
    return all > p.puzzles ? all - p.puzzles : 0;
}
