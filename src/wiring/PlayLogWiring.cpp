// The play log's two seams with the game, kept together here: the play
// screen's end of a round and the exit path. The sender is set up at start-up
// (playLogStartUp) once "playLog.txt" has been looked for.
#include <filesystem>

#include "app/AppGlobals.h"
#include "app/FrameServices.h"
#include "app/TMainGame.h"
#include "match3/TChipData.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "playlog/PlayLogGlobals.h"
#include "playlog/TPlaylogSender.h"
#include "profiles/TProfileManager.h"
#include "wiring/Wiring.h"

namespace {

// Keeps a record of the round just ended (1 won, 0 lost, -1 left for the main
// menu, -2 restarted) when "playLog.txt" was there at start-up.
std::shared_ptr<TPlayLog> playLogRoundEnded(TMainGame& g, int outcome) {
    if (!playLogEnabled || !g.level || !g.m3Game) return nullptr;
    const TLevel& lvl = *g.level;
    TPlayLogRound r;
    r.nrLevelu = g.player().nrLevelu;
    const auto& profile = profileManager().profile;
    r.nrStageu = profile ? profile->nrStageu : 0;
    r.matchType = lvl.matchType;
    r.log_iloscPuzzli = lvl.log_iloscPuzzli;
    r.log_availableChips = lvl.log_availableChips;
    r.log_tilesToBrake = lvl.log_tilesToBrake;
    r.log_lastTileBrakeTime = lvl.log_lastTileBrakeTime;
    r.continueLevel = g.continueLevel;
    r.log_iloscMatchy = lvl.log_iloscMatchy;
    r.log_zmatchowaneChipsy = lvl.log_zmatchowaneChipsy;
    r.highestMatch = lvl.highestMatch;
    r.log_matches4 = g.m3Game->log_matches4;
    r.log_matches5 = g.m3Game->log_matches5;
    r.log_matches6 = g.m3Game->log_matches6;
    r.log_matchesMore = g.m3Game->log_matchesMore;
    for (const auto& b : g.m3Game->bonusList) r.bonusIleRazy.push_back(b ? b->ileRazy : 0);
    r.score = lvl.score;
    r.listaCzasow = g.listaCzasow;
    r.levelTime = g.levelTime;
    r.bonusUse = g.bonusUse;
    return recordPlayLog(true, outcome, r);
}

// Posts the records when "playlog-net.txt" exists.
void playLogAtExit() {
    std::error_code ec;
    sendPlayLogAtExit(playLogEnabled != 0, std::filesystem::exists("playlog-net.txt", ec));
}

}  // namespace

void startPlayLog() {
    playLogStartUp();
    playlogSender->playerName = [] {
        const auto& p = profileManager().profile;
        return p ? p->name : std::string();
    };
}

void wirePlayLog() {
    mainGame->playLogLevel = [](int outcome) { playLogRoundEnded(*mainGame, outcome); };
    addExitSave("playlog", [] {
        if (playLogEnabled) playLogAtExit();
    });
}
