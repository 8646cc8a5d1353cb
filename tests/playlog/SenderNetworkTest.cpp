// The sender against real loopback servers: the k-th request carries records
// 1 to k, the 5000 ms guard, and the time limits against servers that refuse,
// never answer, answer without end or trickle.
#include <gtest/gtest.h>

#include <chrono>

#include "FakeServer.h"
#include "playlog/PlayLogGlobals.h"
#include "playlog/TPlaylogSender.h"

namespace {

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

class SenderNetworkTest : public ::testing::Test {
protected:
    TPlaylogSender sender;
    void SetUp() override {
        playLogs.clear();
        for (int i = 0; i < 3; ++i) {
            TPlayLogRound r;
            r.nrLevelu = 4 + i;
            r.levelTime = 30 + i;
            recordPlayLog(true, i == 1 ? 0 : 1, r);
        }
    }
    void TearDown() override { playLogs.clear(); }
    void aim(int port) {
        sender.init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
        sender.target_port = port;
        sender.playerName = [] { return std::string("Tester"); };
    }
    // Runs sendLog and gives its duration in milliseconds.
    long timedSend() {
        const auto t0 = std::chrono::steady_clock::now();
        sender.sendLog();
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
                .count());
    }
};

TEST_F(SenderNetworkTest, EachRequestCarriesEveryRecordSoFar) {
    FakeServer server(FakeServer::Answer);
    aim(server.port);
    sender.sendLog();
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 3u);
    for (size_t k = 0; k < reqs.size(); ++k) {
        EXPECT_EQ(count(reqs[k], "name=\"version\""), static_cast<int>(k) + 1) << "request " << k + 1;
        EXPECT_NE(reqs[k].find("name=\"id\"\r\n\r\n" + std::to_string(k + 1) + "\r\n"), std::string::npos);
        const size_t head = reqs[k].find("\r\n\r\n");
        const size_t cl = reqs[k].find("Content-Length: ");
        EXPECT_EQ(std::stoul(reqs[k].substr(cl + 16)), reqs[k].size() - head - 4);
        EXPECT_NE(reqs[k].find("Host: 127.0.0.1:" + std::to_string(server.port) + "\r\n"), std::string::npos);
    }
    EXPECT_EQ(sender.lastSent, 3);
    EXPECT_EQ(sender.lastReport, "");
}

TEST_F(SenderNetworkTest, ASecondSendWithinFiveSecondsDoesNothing) {
    FakeServer server(FakeServer::Answer);
    aim(server.port);
    sender.sendLog();
    sender.sendLog();
    EXPECT_EQ(server.requests().size(), 3u);
    sender.lastSendTime -= 5000;  // as if five seconds had passed
    sender.sendLog();
    EXPECT_EQ(server.requests().size(), 6u);
}

// A slow server: once half the budget is gone the requests in between are
// left out and the last one, carrying every record, is sent.
TEST_F(SenderNetworkTest, ASlowServerStillGetsEveryRecordInTheLastRequest) {
    for (int i = 0; i < 7; ++i) recordPlayLog(true, 1, TPlayLogRound{});  // ten records in all
    FakeServer server(FakeServer::SlowAnswer);
    aim(server.port);
    EXPECT_LT(timedSend(), 3000);
    const auto reqs = server.requests();
    ASSERT_GE(reqs.size(), 2u);
    EXPECT_LT(reqs.size(), 10u) << "every request was sent although half the budget was gone";
    EXPECT_EQ(count(reqs.back(), "name=\"version\""), 10);
    for (size_t k = 0; k + 1 < reqs.size(); ++k)
        EXPECT_EQ(count(reqs[k], "name=\"version\""), static_cast<int>(k) + 1);
    EXPECT_EQ(sender.lastSent, 10);
    EXPECT_EQ(sender.lastReport, "");
}

// Whatever the server does, sendLog ends within its budget (2 s) plus a
// little, and says so in one line.
TEST_F(SenderNetworkTest, MisbehavingServersCannotHoldTheExit) {
    struct Case {
        const char* what;
        FakeServer::Mode mode;
        bool dead;
    };
    const Case cases[] = {{"dead port", FakeServer::Silent, true},
                          {"never answers", FakeServer::Silent, false},
                          {"answers forever", FakeServer::Endless, false},
                          {"trickles", FakeServer::Trickle, false}};
    for (const Case& c : cases) {
        sender = TPlaylogSender();
        if (c.dead) {
            aim(FakeServer::deadPort());
            EXPECT_LT(timedSend(), 3000) << c.what;
        } else {
            FakeServer server(c.mode);
            aim(server.port);
            EXPECT_LT(timedSend(), 3000) << c.what;
        }
        EXPECT_EQ(sender.lastSent, 0) << c.what;
        EXPECT_NE(sender.lastReport.find("0 of 3 records"), std::string::npos)
            << c.what << ": " << sender.lastReport;
        EXPECT_EQ(sender.lastReport.find('\n'), std::string::npos) << c.what;
    }
}

TEST_F(SenderNetworkTest, TheAnswerIsSplitIntoLines) {
    tsendhttp h;
    h.addinput("a", "b");
    FakeServer server(FakeServer::Answer);
    const auto lines = h.send("127.0.0.1", server.port, "/x");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "HTTP/1.0 200 OK");
    EXPECT_EQ(lines.back(), "OK");
    EXPECT_TRUE(h.lastAnswerOk);
}

}  // namespace
