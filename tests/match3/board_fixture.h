// Shared set-up of the board tests: an engine with the small fixture
// catalogues of tests/fixtures/match3, the null backend's clock at rest, and a
// frame factor of exactly 1.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "data/DataGlobals.h"
#include "data/TRCMFile.h"
#include "match3/TBackGround.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"
#include "match3/TM3Settings.h"
#include "match3/TTile.h"

class BoardTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedRoot_ = dataRoot;
        dataRoot = std::string(BRIMBLE_SOURCE_DIR) + "/tests/fixtures/match3/";
        frameDelta = 1.0f;
        SeedRnd(12345);
        game = std::make_unique<TM3Game>();
        game->loadSettings("data/settings.dat");
        game->loadTiles("data/tiles.dat");
        game->loadChips("data/chips.dat");
        game->loadBonusChips("data/bonusy.dat");
        game->loadFrame("data/frames.dat");
        loadBackgrounds("data/backgrounds.dat");
        tmpDir = std::filesystem::path(BRIMBLE_BINARY_DIR) / "tmp-match3-board" /
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(tmpDir);
    }
    void TearDown() override {
        if (game) game->level.reset();
        game.reset();
        dataRoot = savedRoot_;
        frameDelta = 1.0f;
    }

    // Writes text to a file in this test's temporary folder and returns its path.
    std::string writeFile(const std::string& name, const std::string& text) {
        const auto p = (tmpDir / name).string();
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }

    // A level file of r x c cells from row strings (tiles, chips, chains).
    static std::string levelText(int rows, int cols, const std::vector<std::string>& tiles,
                                 const std::vector<std::string>& chips = {},
                                 const std::vector<std::string>& chains = {},
                                 const std::string& avail = "1 2 3 4",
                                 const std::string& extra = "") {
        std::string s = "level {\n\tdata {\n";
        s += "\t\tdims = " + std::to_string(rows) + ", " + std::to_string(cols) + "\n";
        s += "\t\ttime = 100, 200\n\t\tmatchType = \"SWAP\"\n";
        s += "\t\tavailableChips = \"" + avail + "\"\n";
        s += extra;
        s += "\t}\n\n\ttiles {\n";
        for (size_t i = 0; i < tiles.size(); ++i)
            s += "\t\trow" + std::to_string(i) + " = \"" + tiles[i] + "\"\n";
        s += "\t}\n\n\tchips {\n";
        for (size_t i = 0; i < chips.size(); ++i)
            s += "\t\trow" + std::to_string(i) + " = \"" + chips[i] + "\"\n";
        s += "\t}\n\n\tchain {\n";
        for (size_t i = 0; i < chains.size(); ++i)
            s += "\t\trow" + std::to_string(i) + " = \"" + chains[i] + "\"\n";
        s += "\t}\n\n}\n\n";
        return s;
    }

    // Adds subgroups (text of whole groups) inside the level group of levelText's output.
    static std::string withGroups(const std::string& level, const std::string& groups) {
        return level.substr(0, level.size() - 3) + groups + "}\n\n";
    }

    TLevelPtr loadText(const std::string& text) {
        return loadLevelFile(writeFile("level.lvl", text), game.get());
    }

    // Binds a level to the engine and places it.
    void bind(const TLevelPtr& lvl) {
        game->setLevel(lvl);
        lvl->setPosition(512, 384);
    }

    void advance(double ms) { Backend().advanceClock(ms); }

    std::unique_ptr<TM3Game> game;
    std::filesystem::path tmpDir;

private:
    std::string savedRoot_;
};
