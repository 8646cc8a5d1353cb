// The SQLite store: rows round-trip, repeated records are kept once, the
// filters, hostile text stays data, and a version-1 database with repeated
// rows is migrated.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "Store.h"
#include "TestRecords.h"

namespace {

class StoreTest : public ::testing::Test {
protected:
    std::string path;
    void SetUp() override {
        path = ::testing::TempDir() + "playlog_store_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".sqlite";
        for (const char* s : {"", "-wal", "-shm"}) std::filesystem::remove(path + s);
    }
};

TEST_F(StoreTest, RecordsRoundTripAndRepeatsAreKeptOnce) {
    auto store = makeSqliteStore(path);
    std::string err;
    ASSERT_TRUE(store->open(err)) << err;
    EXPECT_EQ(store->schemaVersion(), storesql::latestVersion());
    PlayRecord a = testRecord("Ola", 1, 3, 1, 95);
    a.pickupTimes = {5, 61};
    a.powerUps[9] = 7;
    a.bonusUsage[5] = 2;
    a.avgChain = -1;
    const PlayRecord b = testRecord("Ola", 2, 4, 0, 240);
    int added = 0;
    ASSERT_TRUE(store->insert({a}, added, err)) << err;
    EXPECT_EQ(added, 1);
    // The run's second upload carries record 1 again and record 2.
    ASSERT_TRUE(store->insert({a, b}, added, err)) << err;
    EXPECT_EQ(added, 1);
    std::vector<PlayRecord> rows;
    ASSERT_TRUE(store->select({}, rows, err)) << err;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].pickupTimes, a.pickupTimes);
    EXPECT_EQ(rows[0].powerUps[9], 7);
    EXPECT_EQ(rows[0].bonusUsage[5], 2);
    EXPECT_DOUBLE_EQ(rows[0].avgChain, -1);
    EXPECT_EQ(rows[1].levelTime, 240);
    EXPECT_EQ(rows[1].runKey, "run1");

    // Another run of the same player with the same record number is a new record.
    ASSERT_TRUE(store->insert({testRecord("Ola", 1, 3, 1, 95, "run2")}, added, err));
    EXPECT_EQ(added, 1);
}

TEST_F(StoreTest, HostileTextIsStoredAsData) {
    auto store = makeSqliteStore(path);
    std::string err;
    ASSERT_TRUE(store->open(err)) << err;
    PlayRecord r = testRecord("Robert'); DROP TABLE records;--", 1, 1, 1, 10);
    int added = 0;
    ASSERT_TRUE(store->insert({r}, added, err)) << err;
    std::vector<PlayRecord> rows;
    ASSERT_TRUE(store->select({}, rows, err)) << err;
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].player, r.player);
}

TEST_F(StoreTest, Filters) {
    auto store = makeSqliteStore(path);
    std::string err;
    ASSERT_TRUE(store->open(err)) << err;
    PlayRecord a = testRecord("A", 1, 1, 1, 10), b = testRecord("A", 2, 1, 1, 10),
               c = testRecord("A", 3, 1, 1, 10);
    a.receivedAt = "2026-12-01T23:59:59Z";
    b.receivedAt = "2026-12-02T00:00:00Z";
    c.receivedAt = "2026-12-03T12:00:00Z";
    c.version = "v1.1";
    int added = 0;
    ASSERT_TRUE(store->insert({a, b, c}, added, err)) << err;
    struct Case {
        RecordFilter f;
        size_t n;
    };
    const Case cases[] = {{{"", "", ""}, 3},           {{"v1.0", "", ""}, 2},
                          {{"v1.1", "", ""}, 1},       {{"", "2026-12-02", ""}, 2},
                          {{"", "", "2026-12-01"}, 1}, {{"", "2026-12-02", "2026-12-02"}, 1},
                          {{"v2", "", ""}, 0}};
    for (const Case& k : cases) {
        std::vector<PlayRecord> rows;
        ASSERT_TRUE(store->select(k.f, rows, err)) << err;
        EXPECT_EQ(rows.size(), k.n) << k.f.version << " " << k.f.from << " " << k.f.to;
    }
    std::vector<std::string> versions;
    ASSERT_TRUE(store->versions(versions, err));
    EXPECT_EQ(versions, (std::vector<std::string>{"v1.0", "v1.1"}));
}

// A database made by the first schema, which kept repeated uploads, is
// brought to the current one: the repeats go, the rest stays.
TEST_F(StoreTest, VersionOneDatabaseIsMigrated) {
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        std::string sql =
            "CREATE TABLE schema_version (version INTEGER NOT NULL); INSERT INTO schema_version VALUES (1);";
        for (const std::string& s : storesql::migration(storesql::Dialect::Sqlite, 1)) sql += s + ";";
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(
            sqlite3_prepare_v2(db, storesql::insertSql(storesql::Dialect::Sqlite).c_str(), -1, &st, nullptr),
            SQLITE_OK);
        for (const PlayRecord& r :
             {testRecord("A", 1, 1, 1, 10), testRecord("A", 1, 1, 1, 10), testRecord("A", 2, 2, 0, 30)}) {
            const auto v = storesql::values(r);
            for (size_t i = 0; i < v.size(); ++i)
                sqlite3_bind_text(st, static_cast<int>(i) + 1, v[i].c_str(), -1, SQLITE_TRANSIENT);
            ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
    }
    auto store = makeSqliteStore(path);
    std::string err;
    ASSERT_TRUE(store->open(err)) << err;
    EXPECT_EQ(store->schemaVersion(), storesql::latestVersion());
    std::vector<PlayRecord> rows;
    ASSERT_TRUE(store->select({}, rows, err));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].recordId, 2);
    int added = 0;
    ASSERT_TRUE(store->insert({testRecord("A", 1, 1, 1, 10)}, added, err));
    EXPECT_EQ(added, 0) << "the migrated database refuses repeats";
    // The running totals were counted from the records already there.
    std::vector<std::string> versions;
    ASSERT_TRUE(store->versions(versions, err)) << err;
    EXPECT_EQ(versions, std::vector<std::string>{"v1.0"});
    int64_t plays = 0;
    ASSERT_TRUE(store->query("SELECT SUM(plays) FROM level_totals", {},
                             [&](const SqlRow& r) {
                                 plays = std::atoll(r[0].c_str());
                                 return true;
                             },
                             err))
        << err;
    EXPECT_EQ(plays, 2);
}

TEST_F(StoreTest, AnUnusableFileIsAnError) {
    auto store = makeSqliteStore(::testing::TempDir() + "no/such/folder/x.sqlite");
    std::string err;
    EXPECT_FALSE(store->open(err));
    EXPECT_FALSE(err.empty());
}

}  // namespace
