// The collector over HTTP, fed by the game's own sender: uploads stored once,
// malformed and oversized bodies refused, the dashboard and the export, and
// who may connect.
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <thread>

#include "Collector.h"
#include "playlog/TPlaylogSender.h"

namespace {

class CollectorHttpTest : public ::testing::Test {
protected:
    std::unique_ptr<Store> store;
    httplib::Server svr;
    std::thread thread;
    int port = 0;

    void SetUp() override {
        const std::string path = ::testing::TempDir() + "playlog_http_" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".sqlite";
        for (const char* s : {"", "-wal", "-shm"}) std::filesystem::remove(path + s);
        store = makeSqliteStore(path);
        std::string err;
        ASSERT_TRUE(store->open(err)) << err;
        CollectorOptions o;
        o.maxBody = 64 * 1024;
        setUpCollector(svr, *store, o, {{3, 240}});
        port = svr.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port, 0);
        thread = std::thread([this] { svr.listen_after_bind(); });
        while (!svr.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void TearDown() override {
        svr.stop();
        if (thread.joinable()) thread.join();
    }

    TPlaylogSender sender() {
        TPlaylogSender s;
        s.init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
        s.target_port = port;
        s.playerName = [] { return std::string("Ola <b>"); };
        return s;
    }
    std::vector<PlayRecord> rows() {
        std::vector<PlayRecord> out;
        std::string err;
        EXPECT_TRUE(store->select({}, out, err)) << err;
        return out;
    }
    // A raw request; the answer's status.
    int post(const std::string& body, const std::string& type) {
        httplib::Client cli("127.0.0.1", port);
        auto res = cli.Post("/playlogs/brimble/playlog.php", body, type.c_str());
        return res ? res->status : -1;
    }
};

TEST_F(CollectorHttpTest, TheGamesUploadsAreStoredOnce) {
    TPlaylogSender s = sender();
    TPlayLog a;
    a.id = 1;
    a.nrLevelu = 3;
    a.levelTime = 100;
    a.zaliczony = 1;
    a.puzzleChipsPickUptimes = {"12", "40"};
    a.sredniChain = 3.5f;
    TPlayLog b = a;
    b.id = 2;
    b.zaliczony = 0;
    b.levelTime = 240;
    b.puzzleChipsPickUptimes.clear();
    b.sredniChain = -1;
    s.saveLevel(a);
    s.sendToServer();
    EXPECT_TRUE(s.http_post->lastAnswerOk) << s.http_post->lastError;
    s.saveLevel(b);
    s.sendToServer();  // carries records 1 and 2
    EXPECT_TRUE(s.http_post->lastAnswerOk) << s.http_post->lastError;
    s.sendToServer();  // the same again
    const auto r = rows();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].outcome, 1);
    EXPECT_EQ(r[0].pickupTimes, (std::vector<int64_t>{12, 40}));
    EXPECT_EQ(r[1].outcome, 0);
    EXPECT_EQ(r[1].levelTime, 240);
    EXPECT_TRUE(r[1].pickupTimes.empty());
    EXPECT_DOUBLE_EQ(r[1].avgChain, -1);
    EXPECT_EQ(r[1].player, "Ola <b>");
    EXPECT_EQ(r[0].runKey, r[1].runKey);

    httplib::Client cli("127.0.0.1", port);
    auto page = cli.Get("/?level=3");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("Ola &lt;b&gt;"), std::string::npos);
    EXPECT_EQ(page->body.find("Ola <b>"), std::string::npos);
    EXPECT_NE(page->body.find("Times played on level 3 (2 plays)"), std::string::npos);
    EXPECT_NE(page->body.find("<td>2:20</td>"), std::string::npos) << "time left at the win: 240 - 100";
    auto csv = cli.Get("/export.csv?version=v1.0");
    ASSERT_TRUE(csv);
    EXPECT_EQ(csv->status, 200);
    EXPECT_EQ(std::count(csv->body.begin(), csv->body.end(), '\n'), 3);
}

TEST_F(CollectorHttpTest, BadRequestsAreRefusedAndTheServerGoesOn) {
    const std::string b = tsendhttp::boundary;
    struct Case {
        const char* what;
        std::string body, type;
        int status;
    };
    const Case cases[] = {
        {"not multipart", "version=v1.0", "application/x-www-form-urlencoded", 400},
        {"no boundary", "x", "multipart/form-data", 400},
        {"garbage body", "\x01\x02garbage", "multipart/form-data; boundary=" + b, 400},
        {"unterminated part", "--" + b + "\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\nv1.0",
         "multipart/form-data; boundary=" + b, 400},
        {"a field but no record",
         "--" + b + "\r\nContent-Disposition: form-data; name=\"version\"\r\n\r\nv1.0\r\n--" + b + "--\r\n",
         "multipart/form-data; boundary=" + b, 400},
        {"too large", std::string(70 * 1024, 'x'), "multipart/form-data; boundary=" + b, 413},
    };
    for (const Case& c : cases) EXPECT_EQ(post(c.body, c.type), c.status) << c.what;
    EXPECT_TRUE(rows().empty());
    httplib::Client cli("127.0.0.1", port);
    auto page = cli.Get("/?from=2026-13-99x");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 400);
    auto missing = cli.Get("/nothing");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    // Still serving after all that.
    auto ok = cli.Get("/");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200);
}

TEST(CollectorRules, OnlyLoopbackUnlessTheAddressWasGiven) {
    EXPECT_TRUE(remoteAllowed("127.0.0.1", false));
    EXPECT_TRUE(remoteAllowed("127.3.2.1", false));
    EXPECT_TRUE(remoteAllowed("::1", false));
    EXPECT_FALSE(remoteAllowed("192.168.1.20", false));
    EXPECT_FALSE(remoteAllowed("10.0.0.1", false));
    EXPECT_TRUE(remoteAllowed("192.168.1.20", true));
}

TEST(CollectorRules, CommandLine) {
    const auto parse = [](std::vector<std::string> args, CollectorOptions& o, std::string& msg) {
        std::vector<char*> argv = {const_cast<char*>("playlog-server")};
        for (auto& a : args) argv.push_back(a.data());
        return parseCollectorArgs(static_cast<int>(argv.size()), argv.data(), o, msg);
    };
    CollectorOptions o;
    std::string msg;
    ASSERT_TRUE(parse({}, o, msg));
    EXPECT_EQ(o.host, "127.0.0.1");
    EXPECT_EQ(o.port, 8080);
    EXPECT_FALSE(o.explicitListen);
    EXPECT_EQ(o.db, "playlog.sqlite");
    ASSERT_TRUE(parse({"--listen", "0.0.0.0:9000", "--db", "postgresql://u@h/db"}, o, msg));
    EXPECT_EQ(o.host, "0.0.0.0");
    EXPECT_EQ(o.port, 9000);
    EXPECT_TRUE(o.explicitListen);
    EXPECT_EQ(o.db, "postgresql://u@h/db");
    for (std::vector<std::string> bad : {std::vector<std::string>{"--listen", "9000"},
                                         {"--listen", "h:99999"},
                                         {"--listen", "h:x"},
                                         {"--db"},
                                         {"--what"}}) {
        CollectorOptions x;
        EXPECT_FALSE(parse(bad, x, msg));
        EXPECT_FALSE(msg.empty());
    }
}

}  // namespace
