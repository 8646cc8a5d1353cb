// Records made from finished rounds: what each field is taken from, the
// numbering, the average chain, the ten bonus places, and the recording switch.
#include <gtest/gtest.h>

#include "playlog/PlayLogGlobals.h"
#include "playlog/TPlaylogSender.h"

namespace {

TPlayLogRound sampleRound() {
    TPlayLogRound r;
    r.nrLevelu = 12;
    r.nrStageu = 3;
    r.matchType = "CHAIN";
    r.log_iloscPuzzli = 2;
    r.log_availableChips = "1 2 4 5";
    r.log_tilesToBrake = 31;
    r.log_lastTileBrakeTime = 95;
    r.continueLevel = 1;
    r.log_iloscMatchy = 8;
    r.log_zmatchowaneChipsy = 30;
    r.highestMatch = 6;
    r.log_matches4 = 3;
    r.log_matches5 = 2;
    r.log_matches6 = 1;
    r.log_matchesMore = 0;
    r.bonusIleRazy = {4, 0, 1};
    r.score = 1234;
    r.listaCzasow = {"14", "70"};
    r.levelTime = 125;
    r.bonusUse = {1, 0, 2, 0, 0, 3};
    return r;
}

class PlayLogRecordTest : public ::testing::Test {
protected:
    void SetUp() override { playLogs.clear(); }
    void TearDown() override { playLogs.clear(); }
};

TEST_F(PlayLogRecordTest, FieldsComeFromTheRound) {
    const TPlayLogPtr log = recordPlayLog(true, 1, sampleRound());
    ASSERT_TRUE(log);
    EXPECT_EQ(log->id, 1);
    EXPECT_EQ(log->nrLevelu, 12);
    EXPECT_EQ(log->nrStageu, 3);
    EXPECT_EQ(log->matchType, "CHAIN");
    EXPECT_EQ(log->puzzlesAtLevel, 2);
    EXPECT_EQ(log->availableChips, "1 2 4 5");
    EXPECT_EQ(log->tilesToBrake, 31);
    EXPECT_EQ(log->lastTileBrakeTime, 95);
    EXPECT_EQ(log->byloContinue, 1);
    EXPECT_EQ(log->iloscMatchy, 8);
    EXPECT_EQ(log->biggestmatch, 6);
    EXPECT_EQ(log->match4, 3);
    EXPECT_EQ(log->match5, 2);
    EXPECT_EQ(log->match6, 1);
    EXPECT_EQ(log->matchMore, 0);
    EXPECT_EQ(log->powerUps, (std::array<int, 10>{4, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(log->score, 1234);
    EXPECT_EQ(log->puzzleChipsPickUptimes, (std::list<std::string>{"14", "70"}));
    EXPECT_EQ(log->levelTime, 125);
    EXPECT_EQ(log->howManyBonus, (std::array<int, 6>{1, 0, 2, 0, 0, 3}));
    EXPECT_EQ(log->zaliczony, 1);
    EXPECT_FLOAT_EQ(log->sredniChain, 30.0f / 8.0f);
}

TEST_F(PlayLogRecordTest, OutcomesAreKeptInOrderAndNumbered) {
    const int outcomes[] = {1, 0, -1, -2, 0};
    for (int o : outcomes) ASSERT_TRUE(recordPlayLog(true, o, sampleRound()));
    ASSERT_EQ(playLogs.size(), 5u);
    for (size_t i = 0; i < playLogs.size(); ++i) {
        EXPECT_EQ(playLogs[i]->id, static_cast<int>(i) + 1);
        EXPECT_EQ(playLogs[i]->zaliczony, outcomes[i]);
    }
}

TEST_F(PlayLogRecordTest, AverageChainIsMinusOneWithoutAMatch) {
    TPlayLogRound r = sampleRound();
    r.log_iloscMatchy = 0;
    r.log_zmatchowaneChipsy = 0;
    EXPECT_FLOAT_EQ(recordPlayLog(true, 0, r)->sredniChain, -1.0f);
}

TEST_F(PlayLogRecordTest, OnlyTheFirstTenBonusKindsAreRecorded) {
    TPlayLogRound r = sampleRound();
    r.bonusIleRazy = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(recordPlayLog(true, 1, r)->powerUps, (std::array<int, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(PlayLogRecordTest, NothingIsKeptWhenRecordingIsOff) {
    EXPECT_FALSE(recordPlayLog(false, 1, sampleRound()));
    EXPECT_TRUE(playLogs.empty());
}

TEST_F(PlayLogRecordTest, ExitSendsOnlyWithBothSwitchesAndARecord) {
    playlogSender = std::make_shared<TPlaylogSender>();
    playlogSender->init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
    int connections = 0;
    struct Refusing : TNetStream {
        int* n;
        explicit Refusing(int* c) : n(c) {}
        bool connectTo(uint32_t, int, int64_t, std::string& e) override {
            ++*n;
            e = "refused";
            return false;
        }
        bool writeAll(const char*, size_t, int64_t, std::string&) override { return false; }
        long readSome(char*, size_t, int64_t, std::string&) override { return -1; }
        void close() override {}
    };
    playlogSender->http_post->openStream = [&] { return std::make_unique<Refusing>(&connections); };

    EXPECT_FALSE(sendPlayLogAtExit(true, true)) << "no record, nothing to send";
    recordPlayLog(true, 1, sampleRound());
    EXPECT_FALSE(sendPlayLogAtExit(false, true));
    EXPECT_FALSE(sendPlayLogAtExit(true, false));
    EXPECT_EQ(connections, 0);
    EXPECT_TRUE(sendPlayLogAtExit(true, true));
    EXPECT_EQ(connections, 1);
    playlogSender.reset();
}

}  // namespace
