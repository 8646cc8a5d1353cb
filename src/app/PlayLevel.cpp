#include "app/PlayLevel.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "app/AppGlobals.h"
#include "app/Control.h"
#include "app/TMainGame.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "profiles/TProfile.h"

int levelNumberOfFile(const std::string& path) {
    const std::string stem = std::filesystem::u8path(path).stem().u8string();
    size_t end = stem.size();
    while (end > 0 && !std::isdigit(static_cast<unsigned char>(stem[end - 1]))) --end;
    size_t begin = end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(stem[begin - 1]))) --begin;
    if (begin == end || end - begin > 6) return 1;
    const int n = std::stoi(stem.substr(begin, end - begin));
    return n > 0 ? n : 1;
}

int playLevelFile(const std::string& file, bool timed) {
    if (!mainGame) mainGame = std::make_shared<TMainGame>();
    mainGame->setup();
    // A player of its own, in a folder beside the players' (never listed).
    auto profile = std::make_shared<TProfile>();
    profile->name = "Level Test";
    profile->allPowerUps = true;
    profile->gameMode = timed ? "TIMED" : "RELAXED";
    profile->nrLevelu = levelNumberOfFile(file);
    profile->profilesDir = userRoot.empty() ? std::string() : userRoot + "/PlayLevel/";
    mainGame->profile = profile;
    Control::currentName = "MAIN-GAME";

    std::string result;
    int score = 0, seconds = 0;
    for (;;) {
        auto level = loadLevelFile(file, mainGame->m3Game.get());
        if (!level || level->rows <= 0 || level->cols <= 0) {
            std::fprintf(stderr, "brimble: the level %s is refused (see above).\n", file.c_str());
            std::printf("refused %s\n", file.c_str());
            return 1;
        }
        mainGame->levelTime = 0;
        mainGame->setLevel(level);
        mainGame->setStartData();
        const std::string next = mainGame->mainLoop();
        score = mainGame->level ? mainGame->level->score : 0;
        seconds = mainGame->levelTime;
        if (next == "RESTART-LEVEL") continue;
        result = next == "GET-NEXT-QUEST-LEVEL" || next == "PUZZLE" ? "won"
                 : mainGame->lostLevel                              ? "lost"
                                                                    : "left";
        break;
    }
    std::printf("%s score %d seconds %d\n", result.c_str(), score, seconds);
    std::fflush(stdout);
    return 0;
}
