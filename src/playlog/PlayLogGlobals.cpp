#include "playlog/PlayLogGlobals.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "playlog/TPlaylogAddress.h"
#include "playlog/TPlaylogSender.h"

std::vector<TPlayLogPtr> playLogs;
std::shared_ptr<TPlaylogSender> playlogSender;

TPlayLogPtr recordPlayLog(bool recordingOn, int outcome, const TPlayLogRound& r) {
    if (!recordingOn) return nullptr;
    auto log = std::make_shared<TPlayLog>();
    log->id = static_cast<int>(playLogs.size()) + 1;
    log->nrLevelu = r.nrLevelu;
    log->nrStageu = r.nrStageu;
    log->matchType = r.matchType;
    log->puzzlesAtLevel = r.log_iloscPuzzli;
    log->availableChips = r.log_availableChips;
    log->tilesToBrake = r.log_tilesToBrake;
    log->lastTileBrakeTime = r.log_lastTileBrakeTime;
    log->byloContinue = r.continueLevel;
    log->iloscMatchy = r.log_iloscMatchy;
    log->biggestmatch = r.highestMatch;
    log->match4 = r.log_matches4;
    log->match5 = r.log_matches5;
    log->match6 = r.log_matches6;
    log->matchMore = r.log_matchesMore;
    // Only the first ten bonus kinds have a place in the record.
    const size_t kinds = std::min(r.bonusIleRazy.size(), log->powerUps.size());
    for (size_t i = 0; i < kinds; ++i) log->powerUps[i] = r.bonusIleRazy[i];
    log->score = r.score;
    log->puzzleChipsPickUptimes = r.listaCzasow;
    log->levelTime = r.levelTime;
    log->howManyBonus = r.bonusUse;
    log->zaliczony = outcome;
    log->sredniChain = r.log_iloscMatchy > 0 ? static_cast<float>(r.log_zmatchowaneChipsy) /
                                                   static_cast<float>(r.log_iloscMatchy)
                                             : -1.0f;
    playLogs.push_back(log);
    return log;
}

bool sendPlayLogAtExit(bool recordingOn, bool sendingOn) {
    if (!recordingOn || !sendingOn || playLogs.empty() || !playlogSender) return false;
    playlogSender->sendLog();
    return true;
}

void playLogStartUp() {
    std::string text;
    std::ifstream f("playlog-net.txt", std::ios::binary);
    if (f) text.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    const TPlaylogAddress a = TPlaylogAddress::fromText(text.substr(0, 4096));
    if (!a.problem.empty())
        std::fprintf(stderr, "%s; the play log goes to %s:%d.\n", a.problem.c_str(), a.host.c_str(), a.port);
    playlogSender = std::make_shared<TPlaylogSender>();
    playlogSender->init("/playlogs/brimble/playlog.php", a.host, "http://" + a.host);
    playlogSender->target_port = a.port;
    playlogSender->http_post->authToken = a.token;
}
