// Uploads read into records: splitting at "version", every field checked,
// the run and content keys that let repeated uploads be recognised.
#include <gtest/gtest.h>

#include "PlayRecord.h"

namespace {

std::vector<FormField> recordFields(int id, int level, int outcome,
                                    const std::vector<std::string>& pickups = {},
                                    const std::string& player = "Ola") {
    std::vector<FormField> f = {{"version", "v1.0"},
                                {"playerName", player},
                                {"id", std::to_string(id)},
                                {"nrLevelu", std::to_string(level)},
                                {"nrStageu", "1"},
                                {"zaliczony", std::to_string(outcome)},
                                {"levelTime", "83"},
                                {"levelTimeMS", "1:23"},
                                {"byloContinue", "1"},
                                {"score", "4150"},
                                {"matchType", "SWAP"},
                                {"puzzlesAtLevel", "3"},
                                {"availableChips", "1 2 3 4 5"},
                                {"chipsCount", "5"},
                                {"tilesToBrake", "24"},
                                {"lastTileBrakeTime", "1:15"},
                                {"biggestMatch", "5"},
                                {"iloscMatch3", "12"},
                                {"match4", "2"},
                                {"match5", "1"},
                                {"match6", "0"},
                                {"match6orMore", "0"}};
    for (int i = 1; i <= 10; ++i) f.push_back({"powerUp" + std::to_string(i), std::to_string(i % 3)});
    for (size_t i = 0; i < pickups.size(); ++i)
        f.push_back({"puzzlePickUpTime_" + std::to_string(i + 1), pickups[i]});
    for (int i = 1; i <= 6; ++i)
        f.push_back({"bonus" + std::to_string(i) + "_usage", std::to_string(i == 2)});
    f.push_back({"avgChain", "3.25"});
    return f;
}

std::vector<FormField> concat(std::vector<FormField> a, const std::vector<FormField>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(RecordParse, OneRecordIsReadWhole) {
    std::vector<PlayRecord> out;
    std::string err;
    ASSERT_TRUE(recordsFromFields(recordFields(2, 7, 1, {"0:05", "1:01"}), out, err)) << err;
    ASSERT_EQ(out.size(), 1u);
    const PlayRecord& r = out[0];
    EXPECT_EQ(r.player, "Ola");
    EXPECT_EQ(r.recordId, 2);
    EXPECT_EQ(r.level, 7);
    EXPECT_EQ(r.outcome, 1);
    EXPECT_EQ(r.levelTime, 83);
    EXPECT_EQ(r.lastTileBreakTime, 75);
    EXPECT_EQ(r.pickupTimes, (std::vector<int64_t>{5, 61}));
    EXPECT_EQ(r.powerUps[2], 0);
    EXPECT_EQ(r.powerUps[0], 1);
    EXPECT_EQ(r.bonusUsage[1], 1);
    EXPECT_EQ(r.powerUpsUsed(), 1);
    EXPECT_DOUBLE_EQ(r.avgChain, 3.25);
}

// The k-th upload of a run carries records 1..k: each is read with its own
// pickup times, and all share the run's key.
TEST(RecordParse, AnUploadOfARunSplitsIntoItsRecords) {
    const auto fields = concat(concat(recordFields(1, 3, 0, {"0:10", "0:20", "0:30"}), recordFields(2, 3, 1)),
                               recordFields(3, 4, -1, {"2:00"}));
    std::vector<PlayRecord> out;
    std::string err;
    ASSERT_TRUE(recordsFromFields(fields, out, err)) << err;
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].pickupTimes.size(), 3u);
    EXPECT_TRUE(out[1].pickupTimes.empty()) << "record 2 must not inherit record 1's pickup times";
    EXPECT_EQ(out[2].pickupTimes, (std::vector<int64_t>{120}));
    EXPECT_EQ(out[2].outcome, -1);
    EXPECT_EQ(out[0].runKey, out[2].runKey);
    EXPECT_NE(out[0].contentHash, out[1].contentHash);

    // The same run's second upload gives the same keys for the same records.
    std::vector<PlayRecord> again;
    ASSERT_TRUE(recordsFromFields(
        concat(recordFields(1, 3, 0, {"0:10", "0:20", "0:30"}), recordFields(2, 3, 1)), again, err));
    EXPECT_EQ(again[1].runKey, out[1].runKey);
    EXPECT_EQ(again[1].contentHash, out[1].contentHash);

    // Another run (a different first record) has another key.
    std::vector<PlayRecord> other;
    ASSERT_TRUE(recordsFromFields(recordFields(1, 9, 1), other, err));
    EXPECT_NE(other[0].runKey, out[0].runKey);
}

TEST(RecordParse, BadFieldsAreRefused) {
    struct Case {
        const char* what;
        std::string name, value;  // replaced (or added when absent)
        bool remove;
    };
    const Case cases[] = {
        {"id not a number", "id", "x1", false},
        {"id zero", "id", "0", false},
        {"outcome out of range", "zaliczony", "2", false},
        {"negative score", "score", "-5", false},
        {"huge number", "score", "99999999999999999999", false},
        {"time not m:ss", "lastTileBrakeTime", "75", false},
        {"seconds past 59", "lastTileBrakeTime", "1:75", false},
        {"levelTimeMS disagrees", "levelTimeMS", "1:24", false},
        {"control character in name", "playerName", std::string("a\x01") + "b", false},
        {"broken UTF-8 in name", "playerName", "a\xC3", false},
        {"name too long", "playerName", std::string(101, 'n'), false},
        {"chips with letters", "availableChips", "1 2 x", false},
        {"match type with digits", "matchType", "SW4P", false},
        {"chain not a number", "avgChain", "nan", false},
        {"unknown field", "evil", "1", false},
        {"pickup numbered 0", "puzzlePickUpTime_0", "0:01", false},
        {"pickup gap", "puzzlePickUpTime_2", "0:01", false},
        {"missing score", "score", "", true},
        {"missing avgChain", "avgChain", "", true},
    };
    for (const Case& c : cases) {
        auto f = recordFields(1, 5, 1);
        bool found = false;
        for (auto it = f.begin(); it != f.end(); ++it)
            if (it->name == c.name) {
                found = true;
                if (c.remove)
                    f.erase(it);
                else
                    it->value = c.value;
                break;
            }
        if (!found) f.push_back({c.name, c.value});
        std::vector<PlayRecord> out;
        std::string err;
        EXPECT_FALSE(recordsFromFields(f, out, err)) << c.what;
        EXPECT_FALSE(err.empty()) << c.what;
        EXPECT_TRUE(out.empty()) << c.what;
    }
}

TEST(RecordParse, UploadsWithoutARecordStartAreRefused) {
    std::vector<PlayRecord> out;
    std::string err;
    EXPECT_FALSE(recordsFromFields({}, out, err));
    auto f = recordFields(1, 1, 1);
    std::swap(f[0], f[1]);
    EXPECT_FALSE(recordsFromFields(f, out, err));
    auto withFile = recordFields(1, 1, 1);
    withFile[1].isFile = true;
    EXPECT_FALSE(recordsFromFields(withFile, out, err));
    // One bad record spoils the whole upload.
    auto two = concat(recordFields(1, 1, 1), recordFields(2, 1, 7));
    EXPECT_FALSE(recordsFromFields(two, out, err));
    EXPECT_NE(err.find("record 2"), std::string::npos) << err;
}

TEST(RecordParse, Clock) {
    EXPECT_EQ(secondsFromClock("1:15"), 75);
    EXPECT_EQ(secondsFromClock("0:05"), 5);
    EXPECT_EQ(secondsFromClock("60:00"), 3600);
    for (const char* bad : {"", ":05", "1:5", "1:60", "-1:05", "1:-5", "a:05", "1:05x"})
        EXPECT_EQ(secondsFromClock(bad), -1) << bad;
    EXPECT_EQ(clockFromSeconds(75), "1:15");
    EXPECT_EQ(clockFromSeconds(5), "0:05");
}

}  // namespace
