// Small hand-built boards for the rules tests: the game's own catalogues, the
// null backend's clock moved by hand, a scripted mouse, and effects that
// remember the sounds the board asked for.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "data/DataGlobals.h"
#include "match3/TChip.h"
#include "match3/TLevel.h"
#include "match3/TM3Effects.h"
#include "match3/TM3Game.h"
#include "match3/TM3ScriptedInput.h"
#include "match3/TM3Settings.h"
#include "match3/TTile.h"

class RecordingEffects : public TM3Effects {
public:
    int badMatch = 0, createBonus = 0;
    void playBadMatch() override { ++badMatch; }
    void playCreateBonus() override { ++createBonus; }
};

class RulesTest : public ::testing::Test {
protected:
    std::shared_ptr<TM3Game> game;
    std::shared_ptr<TM3ScriptedInput> mouse;
    RecordingEffects effects;
    std::string savedRoot;

    void SetUp() override {
        savedRoot = dataRoot;
        dataRoot = std::string(BRIMBLE_GAME_DIR) + "/";
        InstallBackend(nullptr);
        frameDelta = 1.0f;
        SeedRnd(4242);
        setM3Effects(&effects);
        game = std::make_shared<TM3Game>();
        game->loadSettings("data/settings.dat");
        game->loadTiles("data/tiles.dat");
        game->loadChips("data/chips.dat");
        game->loadBonusChips("data/bonusy.dat");
        mouse = std::make_shared<TM3ScriptedInput>();
        game->input = mouse;
    }
    void TearDown() override {
        setM3Effects(nullptr);
        game.reset();
        dataRoot = savedRoot;
    }

    // One string a row, one character a cell: '1'..'9' a chip of that kind on
    // a plain plate, 'B' bomb 104, 'b' bomb 105, 'X' crossfire 101, '.' an
    // empty plate, '#' a hole. Kinds 1..5 may be dealt.
    void board(const std::vector<std::string>& rows, const std::string& mode = "SWAP") {
        const int R = static_cast<int>(rows.size()), C = static_cast<int>(rows[0].size());
        auto lvl = createEmptyLevel(R, C, game.get());
        lvl->matchType = mode;
        for (int k = 1; k <= 5; ++k) lvl->availableChips.push_back(game->getChipData(k));
        lvl->availableBonus.push_back(game->getBonusChipData(101));
        lvl->availableBonus.push_back(game->getBonusChipData(104));
        for (int r = 0; r < R; ++r)
            for (int c = 0; c < C; ++c) {
                TTile& t = *lvl->tile[r][c];
                const char ch = rows[r][c];
                TChipDataPtr cd;
                if (ch >= '1' && ch <= '9') cd = game->getChipData(ch - '0');
                if (ch == 'B') cd = game->getBonusChipData(104);
                if (ch == 'b') cd = game->getBonusChipData(105);
                if (ch == 'X') cd = game->getBonusChipData(101);
                if (ch == '#') t.setTileData(game->getTileData(0));
                if (cd) t.setChip(createChip(cd));
                if (t.chip) {
                    t.chip->r = r;
                    t.chip->c = c;
                }
            }
        game->setLevel(lvl);
        game->setLevelPosition(534, 406);
    }

    TTilePtr tile(int r, int c) { return game->getTile(r, c); }
    TChipPtr chip(int r, int c) { return game->getChipByPos(r, c); }
    int kindAt(int r, int c) {
        auto ch = chip(r, c);
        return ch && ch->cd ? ch->cd->id : 0;
    }

    void frame() {
        game->update();
        game->controlGame(0);
        Backend().advanceClock(1000.0 / 60.0);
    }
    // Runs frames until the board is quiet (or the limit); returns frames run.
    int settle(int limit = 2000) {
        int n = 0;
        do {
            frame();
        } while (++n < limit && !game->_nothingIsHappening());
        return n;
    }
    void mouseAt(int r, int c, bool press, bool down) {
        auto t = tile(r, c);
        mouse->x = static_cast<int>(t->dim.x);
        mouse->y = static_cast<int>(t->dim.y);
        mouse->hit = press ? 1 : 0;
        mouse->down = down;
    }
    // Every chip lies on exactly one plate and points back at it.
    std::string boardProblem() {
        auto& lvl = *game->level;
        std::vector<TChip*> seen;
        for (int r = 0; r < lvl.rows; ++r)
            for (int c = 0; c < lvl.cols; ++c) {
                TTile* t = lvl.tile[r][c].get();
                if (!t->chip) continue;
                if (t->kind() == 0) return "chip on a hole at " + std::to_string(r) + "," + std::to_string(c);
                if (t->chip->tile != t && !t->chip->docelowyTile)
                    return "chip does not point back at " + std::to_string(r) + "," + std::to_string(c);
                for (TChip* s : seen)
                    if (s == t->chip.get()) return "chip on two tiles";
                seen.push_back(t->chip.get());
            }
        return "";
    }
};
