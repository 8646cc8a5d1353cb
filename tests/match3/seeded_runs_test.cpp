// Seeded autoplayer runs play exactly the same game: the moves, frames, score
// and refills of a few runs, and a fingerprint of the whole board (every
// chip's kind, state, offset, alpha and scale, every plate) taken every frame.
// Speed work on the engine must leave all of it unchanged; a deliberate change
// of the rules or of the catalogues in game/data updates the table below.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "match3/TM3Runner.h"
#include "rules_fixture.h"

namespace {

class Fingerprint {
public:
    void add(uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            h_ ^= (v >> (8 * i)) & 0xFF;
            h_ *= 1099511628211ull;
        }
    }
    void add(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        add(static_cast<uint64_t>(bits));
    }
    uint64_t value() const { return h_; }

private:
    uint64_t h_ = 1469598103934665603ull;
};

void addBoard(Fingerprint& fp, TLevel& lvl) {
    for (auto& row : lvl.tile)
        for (auto& t : row) {
            fp.add(static_cast<uint64_t>(t->kind() + 1000));
            const TChipPtr& ch = t->chip;
            if (!ch) {
                fp.add(uint64_t{0});
                continue;
            }
            fp.add(static_cast<uint64_t>(ch->cd ? ch->cd->id : -1));
            fp.add(static_cast<uint64_t>(ch->state.id()));
            fp.add(ch->adx);
            fp.add(ch->adY);
            fp.add(ch->a);
            fp.add(ch->s);
        }
}

}  // namespace

TEST_F(RulesTest, SeededRunsPlayTheSameGame) {
    struct Case {
        const char* file;
        unsigned seed;
        bool clicks;
        const char* outcome;
        int moves, frames, score, refills;
        uint64_t fingerprint;
    } cases[] = {
        {"swap_basic.lvl", 1, false, "", 77, 6000, 19400, 1, 0x6508135ee45c4fbbull},
        {"swap_basic.lvl", 7, true, "won", 42, 4070, 16300, 0, 0xc740ecc27fef931dull},
        {"swap_puzzle.lvl", 3, false, "won", 0, 117, 150, 1, 0xc9f4d5be72536749ull},
        {"chain_basic.lvl", 5, false, "won", 48, 2856, 10950, 0, 0x995ee551b06f6413ull},
        {"group_basic.lvl", 9, false, "won", 35, 1351, 7050, 0, 0x009417fa1259ebbeull},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.file) + " seed " + std::to_string(k.seed));
        SeedRnd(k.seed);
        auto lvl =
            loadLevelFile(std::string(BRIMBLE_SOURCE_DIR) + "/tests/fixtures/match3/" + k.file, game.get());
        ASSERT_TRUE(lvl);
        game->setLevel(lvl);
        game->setLevelPosition(534, 406);
        TM3Runner run(game);
        run.player.clicksInSwap = k.clicks;
        Fingerprint fp;
        while (run.frames < 6000 && run.frame()) {
            addBoard(fp, *lvl);
            fp.add(static_cast<uint64_t>(run.score()));
        }
        char got[200];
        std::snprintf(got, sizeof got, "{\"%s\", %u, %s, \"%s\", %d, %d, %d, %d, 0x%016llxull}", k.file,
                      k.seed, k.clicks ? "true" : "false", run.outcome.c_str(), run.player.moves, run.frames,
                      run.score(), run.deadBoards, static_cast<unsigned long long>(fp.value()));
        SCOPED_TRACE(std::string("this run: ") + got);
        EXPECT_EQ(run.outcome, k.outcome);
        EXPECT_EQ(run.player.moves, k.moves);
        EXPECT_EQ(run.frames, k.frames);
        EXPECT_EQ(run.score(), k.score);
        EXPECT_EQ(run.deadBoards, k.refills);
        EXPECT_EQ(fp.value(), k.fingerprint);
    }
}
