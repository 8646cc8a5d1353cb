// The dashboard's figures, the levels it flags, its escaping and the CSV.
#include <gtest/gtest.h>

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

}  // namespace
