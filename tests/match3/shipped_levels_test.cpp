// The quest levels are written by a generator outside the engine: their frame
// lists must be the ones the engine lays out for the same plates, their
// creators must be plates, and every chip must be a catalogue kind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "data/DataGlobals.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Frame.h"
#include "match3/TM3FrameData.h"
#include "match3/TM3Game.h"
#include "match3/TTile.h"

namespace {

std::string frameIds(const TLevel& lvl) {
    std::string s;
    for (auto& row : lvl.ramka) {
        for (auto& f : row) {
            s += '[';
            for (auto& p : f->lista) s += std::to_string(p ? p->id : -1) + ' ';
            s += ']';
        }
        s += '\n';
    }
    return s;
}

TEST(ShippedLevels, FramesCreatorsAndChipsMatchTheEngine) {
    const std::string root = std::string(BRIMBLE_GAME_DIR) + "/";
    const std::string saved = dataRoot;
    dataRoot = root;
    testing::internal::CaptureStdout();
    auto game = std::make_shared<TM3Game>();
    game->loadSettings("data/settings.dat");
    game->loadTiles("data/tiles.dat");
    game->loadChips("data/chips.dat");
    game->loadBonusChips("data/bonusy.dat");
    game->loadFrame("data/frames.dat");
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator(root + "data/levels")) {
        if (e.path().extension() != ".lvl") continue;
        SCOPED_TRACE(e.path().filename().string());
        auto lvl = loadLevelFile(e.path().string(), game.get());
        ASSERT_TRUE(lvl);
        ++n;
        const std::string read = frameIds(*lvl);
        lvl->CreateLevelFrames();
        EXPECT_EQ(read, frameIds(*lvl));
        ASSERT_FALSE(lvl->chipCreators.empty());
        for (auto& cc : lvl->chipCreators) {
            TTile* t = lvl->tileAt(static_cast<int>(cc.x), static_cast<int>(cc.y));
            ASSERT_TRUE(t);
            EXPECT_GT(t->kind(), 0) << cc.x << "," << cc.y;
        }
        for (auto& row : lvl->tile)
            for (auto& t : row) {
                if (t->kind() > 0) {
                    EXPECT_TRUE(t->chip) << "plate without chip at " << t->r << "," << t->c;
                }
            }
    }
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(n, 191);
    dataRoot = saved;
}

}  // namespace
