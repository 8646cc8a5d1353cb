// The dashboard's figures, the levels it flags, its escaping and the CSV.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "Dashboard.h"
#include "TestRecords.h"

namespace {

// n plays of a level with the given wins and time each.
void plays(std::vector<PlayRecord>& out, int64_t level, int n, int wins, int64_t time) {
    for (int i = 0; i < n; ++i)
        out.push_back(testRecord("P", static_cast<int64_t>(out.size()) + 1, level, i < wins ? 1 : 0, time));
}

TEST(Dashboard, Median) {
    EXPECT_DOUBLE_EQ(median({}), 0);
    EXPECT_DOUBLE_EQ(median({5}), 5);
    EXPECT_DOUBLE_EQ(median({9, 1, 5}), 5);
    EXPECT_DOUBLE_EQ(median({4, 1, 3, 2}), 2.5);
}

TEST(Dashboard, LevelFigures) {
    std::vector<PlayRecord> rs;
    rs.push_back(testRecord("A", 1, 2, 1, 100));
    rs.push_back(testRecord("A", 2, 2, 0, 300));
    rs.push_back(testRecord("B", 1, 2, -1, 20));
    rs.push_back(testRecord("B", 2, 2, 1, 60));
    rs[0].pickupTimes = {10, 20};
    rs[3].bonusUsage = {1, 1, 0, 0, 0, 1};
    rs[1].biggestMatch = 9;
    const auto s = levelStats(rs, {{2, 180}}, 3);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].plays, 4);
    EXPECT_EQ(s[0].wins, 2);
    EXPECT_EQ(s[0].losses, 1);
    EXPECT_EQ(s[0].left, 1);
    EXPECT_DOUBLE_EQ(s[0].winRate, 0.5);
    EXPECT_DOUBLE_EQ(s[0].medianTime, 80);
    EXPECT_TRUE(s[0].hasTimeLeft);
    EXPECT_DOUBLE_EQ(s[0].medianTimeLeftAtWin, 100);  // 180-100 and 180-60
    EXPECT_EQ(s[0].biggestMatch, 9);
    EXPECT_DOUBLE_EQ(s[0].powerUpsPerPlay, 0.75);
    EXPECT_DOUBLE_EQ(s[0].piecesPerPlay, 0.5);
}

TEST(Dashboard, LevelsThatStandOutAreFlagged) {
    std::vector<PlayRecord> rs;
    for (int64_t level = 1; level <= 7; ++level) {
        if (level == 4)
            plays(rs, level, 10, 2, 400);  // hard: few wins, long
        else if (level == 6)
            plays(rs, level, 10, 10, 100);
        else
            plays(rs, level, 10, 7, 100);
    }
    plays(rs, 9, 2, 0, 900);  // too few plays to judge
    const auto s = levelStats(rs, {}, 3);
    for (const LevelStats& l : s) {
        if (l.level == 4) {
            EXPECT_TRUE(l.hard);
            EXPECT_EQ(l.flags.size(), 2u);
        } else {
            EXPECT_FALSE(l.hard) << l.level;
        }
        if (l.level == 9) {
            EXPECT_TRUE(l.flags.empty());
        }
    }
    const std::string page = renderDashboard(rs, {}, {"v1.0"}, {});
    EXPECT_NE(page.find("<tr class=\"hard\"><td>4</td>"), std::string::npos);
    EXPECT_NE(page.find("fill=\"#b3261e\"><title>level 4:"), std::string::npos)
        << "the hard level's bar is red";
}

TEST(Dashboard, TextIsEscapedInThePage) {
    std::vector<PlayRecord> rs = {testRecord("<script>alert('x')</script>&", 1, 1, 1, 10)};
    rs[0].version = "v\"><b>";
    const std::string page = renderDashboard(rs, {}, {rs[0].version}, {});
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_EQ(page.find("\"><b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;"), std::string::npos);
}

TEST(Dashboard, ChartsAreSvgWithTheLevels) {
    std::vector<PlayRecord> rs;
    plays(rs, 3, 4, 2, 90);
    plays(rs, 5, 2, 1, 200);
    const auto s = levelStats(rs, {}, 3);
    const std::string win = svgWinRate(s), time = svgMedianTime(s), hist = svgHistogram(rs, 3);
    for (const std::string* svg : {&win, &time, &hist}) {
        EXPECT_EQ(svg->rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
        EXPECT_EQ(svg->substr(svg->size() - 6), "</svg>");
    }
    EXPECT_NE(win.find("level 3: 50% of 4 plays won"), std::string::npos);
    EXPECT_NE(win.find("level 5: 50% of 2 plays won"), std::string::npos);
    EXPECT_NE(time.find("level 5: median 3:20"), std::string::npos);
    EXPECT_NE(hist.find("1:30-1:40: 4 plays"), std::string::npos) << hist;
    EXPECT_NE(svgHistogram(rs, 8).find("no plays yet"), std::string::npos);
}

TEST(Dashboard, CsvQuotesTextAndDefusesFormulas) {
    std::vector<PlayRecord> rs = {testRecord("=HYPERLINK(\"x\")", 1, 1, -1, 10)};
    const std::string csv = renderCsv(rs);
    EXPECT_EQ(csv.rfind("received_at,remote_addr,", 0), 0u);
    EXPECT_NE(csv.find(",\"'=HYPERLINK(\"\"x\"\")\",1,1,1,-1,10,"), std::string::npos) << csv;
}

TEST(Dashboard, MedianBins) {
    const struct {
        int64_t v;
        int figures;
        int64_t bin;
    } cases[] = {{0, 3, 0},           {999, 3, 999},        {1000, 3, 1000},          {12345, 3, 12300},
                 {99999, 3, 99900},   {100000, 3, 100000},  {123456789, 3, 123000000}, {-5, 3, -5},
                 {999, 2, 999},       {1234, 2, 1200},      {12345, 2, 12000},        {99999, 2, 99000},
                 {1999999999, 2, 1900000000}};
    for (const auto& c : cases) EXPECT_EQ(storesql::medianBin(c.v, c.figures), c.bin) << c.v << " " << c.figures;
    // The database counts the same bins.
    const std::string path = ::testing::TempDir() + "playlog_bins.sqlite";
    for (const char* s : {"", "-wal", "-shm"}) std::filesystem::remove(path + s);
    auto store = makeSqliteStore(path);
    std::string err;
    ASSERT_TRUE(store->open(err)) << err;
    for (const auto& c : cases) {
        std::string got;
        ASSERT_TRUE(store->query("SELECT " + storesql::medianBinSql("CAST($1 AS BIGINT)", c.figures),
                                 {std::to_string(c.v)},
                                 [&](const SqlRow& r) {
                                     got = r[0];
                                     return true;
                                 },
                                 err))
            << err;
        EXPECT_EQ(got, std::to_string(c.bin)) << c.v << " " << c.figures;
    }
}

// The figures the database counts (from its running totals, or from the
// records of chosen days) are those counted from the records in memory.
TEST(Dashboard, TheDatabaseCountsWhatTheRecordsSay) {
    const std::string path = ::testing::TempDir() + "playlog_dashboard_db.sqlite";
    for (const char* s : {"", "-wal", "-shm"}) std::filesystem::remove(path + s);
    auto store = makeSqliteStore(path);
    std::string err;
    ASSERT_TRUE(store->open(err)) << err;
    std::mt19937 rng(7);
    std::vector<PlayRecord> all;
    const char* days[] = {"2026-12-01T10:00:00Z", "2026-12-02T23:59:59Z", "2026-12-03T00:00:00Z"};
    for (int i = 0; i < 400; ++i) {
        const std::string player = "P" + std::to_string(rng() % 9);
        const unsigned run = rng() % 30;
        PlayRecord r = testRecord(player, i + 1, 1 + static_cast<int64_t>(rng() % 6),
                                  static_cast<int64_t>(rng() % 4) - 2, 20 + static_cast<int64_t>(rng() % 400),
                                  "run" + std::to_string(run));
        r.version = run % 3 ? "v1.0" : "v1.1";  // a run is played on one build
        r.score = static_cast<int64_t>(rng() % 900);  // below 1000: medians exact
        r.matches = static_cast<int64_t>(rng() % 40);
        r.biggestMatch = static_cast<int64_t>(rng() % 9);
        r.bonusUsage[rng() % 6] = static_cast<int64_t>(rng() % 3);
        for (unsigned k = rng() % 3; k > 0; --k) r.pickupTimes.push_back(static_cast<int64_t>(rng() % 100));
        r.receivedAt = days[rng() % 3];
        r.contentHash = hashHex(std::to_string(i));
        all.push_back(r);
    }
    int added = 0;
    ASSERT_TRUE(store->insert(all, added, err)) << err;
    ASSERT_EQ(added, 400);
    const std::map<int64_t, int64_t> limits = {{2, 300}, {4, 100}};
    struct Case {
        const char* what;
        RecordFilter f;
    } cases[] = {{"everything", {}},
                 {"one version", {"v1.1", "", ""}},
                 {"one day", {"", "2026-12-02", "2026-12-02"}},
                 {"a version from a day", {"v1.0", "2026-12-02", ""}}};
    for (const Case& c : cases) {
        std::vector<PlayRecord> chosen;
        for (const PlayRecord& r : all)
            if ((c.f.version.empty() || r.version == c.f.version) &&
                (c.f.from.empty() || r.receivedAt >= storesql::dayStart(c.f.from)) &&
                (c.f.to.empty() || r.receivedAt <= storesql::dayEnd(c.f.to)))
                chosen.push_back(r);
        DashboardQuery q;
        q.filter = c.f;
        q.histogramLevel = 3;
        DashboardData db;
        ASSERT_TRUE(loadDashboard(*store, q, limits, db, err)) << c.what << ": " << err;
        const DashboardData mem = dashboardFromRecords(chosen, q, {"v1.0", "v1.1"}, limits);
        EXPECT_EQ(db.rounds, mem.rounds) << c.what;
        EXPECT_EQ(db.playerCount, mem.playerCount) << c.what;
        ASSERT_EQ(db.levels.size(), mem.levels.size()) << c.what;
        for (size_t i = 0; i < db.levels.size(); ++i) {
            const LevelStats &a = db.levels[i], &b = mem.levels[i];
            EXPECT_EQ(a.level, b.level) << c.what;
            EXPECT_EQ(a.plays, b.plays) << c.what;
            EXPECT_EQ(a.wins, b.wins) << c.what;
            EXPECT_EQ(a.losses, b.losses) << c.what;
            EXPECT_EQ(a.left, b.left) << c.what;
            EXPECT_DOUBLE_EQ(a.medianTime, b.medianTime) << c.what << " level " << a.level;
            EXPECT_DOUBLE_EQ(a.medianScore, b.medianScore) << c.what << " level " << a.level;
            EXPECT_DOUBLE_EQ(a.medianMatches, b.medianMatches) << c.what << " level " << a.level;
            EXPECT_EQ(a.hasTimeLeft, b.hasTimeLeft) << c.what << " level " << a.level;
            EXPECT_DOUBLE_EQ(a.medianTimeLeftAtWin, b.medianTimeLeftAtWin) << c.what << " level " << a.level;
            EXPECT_EQ(a.biggestMatch, b.biggestMatch) << c.what;
            EXPECT_DOUBLE_EQ(a.powerUpsPerPlay, b.powerUpsPerPlay) << c.what;
            EXPECT_DOUBLE_EQ(a.piecesPerPlay, b.piecesPerPlay) << c.what;
            EXPECT_EQ(a.flags, b.flags) << c.what;
        }
        EXPECT_EQ(db.timeCounts, mem.timeCounts) << c.what;
        ASSERT_EQ(db.players.size(), mem.players.size()) << c.what;
        std::map<std::string, PlayerStats> byName;
        for (const PlayerStats& p : mem.players) byName[p.player] = p;
        for (const PlayerStats& p : db.players) {
            const PlayerStats& m = byName[p.player];
            EXPECT_EQ(p.runs, m.runs) << c.what << " " << p.player;
            EXPECT_EQ(p.rounds, m.rounds) << c.what;
            EXPECT_EQ(p.wins, m.wins) << c.what;
            EXPECT_EQ(p.highestPlayed, m.highestPlayed) << c.what;
            EXPECT_EQ(p.highestWon, m.highestWon) << c.what;
            EXPECT_EQ(p.firstSeen, m.firstSeen) << c.what;
            EXPECT_EQ(p.lastSeen, m.lastSeen) << c.what;
        }
    }
}

TEST(Dashboard, CsvCellsAreValidUtf8) {
    EXPECT_EQ(validUtf8("ok \xC3\xAB"), "ok \xC3\xAB");
    EXPECT_EQ(validUtf8("a\xED\xA0\x80" "b"), "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" "b");
    EXPECT_EQ(validUtf8("\xF4\x90\x80\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    std::vector<PlayRecord> rs = {testRecord("bad\xC0\xAF", 1, 1, 1, 10)};
    EXPECT_NE(renderCsv(rs).find("\"bad\xEF\xBF\xBD\xEF\xBF\xBD\""), std::string::npos);
}

}  // namespace
