// levelrun FILE [--seed N] [--max-frames N] [--timed] [--data DIR]
// Plays one level file headless with the autoplayer and prints one line of
// JSON: outcome ("won", "lost", "stuck", "frames" or "error"), moves, frames,
// score, the number of refills of boards left without a move, and whether the
// starting board had a move of its mode before any refill ("startMove").
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "platform/Backend.h"
#include "platform/Services.h"
#include "platform/SystemPaths.h"
#include "data/DataGlobals.h"
#include "match3/TLevel.h"
#include "match3/TM3Game.h"
#include "match3/TM3Runner.h"

namespace {
void usage() {
    std::fprintf(stderr, "usage: levelrun FILE [--seed N] [--max-frames N] [--timed] [--data DIR]\n");
}

bool number(const char* s, long& out) {
    char* end = nullptr;
    out = std::strtol(s, &end, 10);
    return end && *end == 0 && end != s;
}
}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // The same bytes as on Linux: no CR before each line feed.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::string file, data = BRIMBLE_GAME_DIR;
    long seed = 1, maxFrames = 60L * 60 * 30;
    bool timed = false;
    const std::vector<std::string> args = CommandLineArgs(argc, argv);
    const int count = static_cast<int>(args.size());
    for (int i = 1; i < count; ++i) {
        const std::string a = args[i];
        if ((a == "--seed" || a == "--max-frames" || a == "--data") && i + 1 < count) {
            const char* v = args[++i].c_str();
            if (a == "--data") {
                data = v;
                continue;
            }
            long n = 0;
            if (!number(v, n) || n < 0) {
                usage();
                return 2;
            }
            (a == "--seed" ? seed : maxFrames) = n;
        } else if (a == "--timed") {
            timed = true;
        } else if (!a.empty() && a[0] != '-' && file.empty()) {
            file = a;
        } else {
            usage();
            return 2;
        }
    }
    if (file.empty()) {
        usage();
        return 2;
    }
    if (!data.empty() && data.back() != '/') data += '/';
    // The loaders resolve relative paths against the data folder; the level
    // file is named relative to where we were started.
    std::error_code ec;
    const auto abs = std::filesystem::absolute(std::filesystem::u8path(file), ec);
    if (!ec) file = abs.u8string();
    dataRoot = data;
    InstallBackend(nullptr);
    SeedRnd(static_cast<uint32_t>(seed));

    auto game = std::make_shared<TM3Game>();
    game->loadSettings("data/settings.dat");
    game->loadTiles("data/tiles.dat");
    game->loadChips("data/chips.dat");
    game->loadBonusChips("data/bonusy.dat");
    game->loadFrame("data/frames.dat");
    auto level = loadLevelFile(file, game.get());
    if (!level) {
        std::printf("{\"outcome\":\"error\",\"moves\":0,\"frames\":0,\"score\":0,\"refills\":0}\n");
        return 1;
    }
    game->setLevel(level);
    game->setLevelPosition(534, 406);

    TM3Runner runner(game);
    runner.timed = timed;
    // Play up to the first move or the first refill: a refill first means the
    // level opened on a board without a move.
    while (runner.outcome.empty() && runner.frames < maxFrames && runner.player.moves == 0 &&
           runner.deadBoards == 0)
        runner.frame();
    const bool startMove = runner.player.moves > 0 && runner.deadBoards == 0;
    runner.run(static_cast<int>(maxFrames));
    std::string out = runner.json();
    out.insert(out.size() - 1, std::string(",\"startMove\":") + (startMove ? "1" : "0"));
    std::printf("%s\n", out.c_str());
    return 0;
}
