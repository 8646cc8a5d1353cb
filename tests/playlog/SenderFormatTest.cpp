// The sender's bytes: the time format, the fields of a record in order, the
// request for a known record against its golden file, file fields, the
// server address and the dotted-address reading.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "playlog/TPlaylogAddress.h"
#include "playlog/TPlaylogSender.h"

namespace {

std::string readFile(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TPlayLog knownRecord() {
    TPlayLog r;
    r.id = 2;
    r.nrLevelu = 7;
    r.nrStageu = 1;
    r.matchType = "SWAP";
    r.puzzlesAtLevel = 3;
    r.availableChips = "1 2 3 4 5";
    r.tilesToBrake = 24;
    r.lastTileBrakeTime = 75;
    r.byloContinue = 1;
    r.iloscMatchy = 12;
    r.biggestmatch = 5;
    r.match4 = 2;
    r.match5 = 1;
    r.powerUps = {1, 0, 0, 2, 0, 0, 0, 0, 0, 3};
    r.score = 4150;
    r.puzzleChipsPickUptimes = {"5", "61"};
    r.levelTime = 83;
    r.howManyBonus = {0, 1, 0, 0, 2, 0};
    r.zaliczony = 1;
    r.sredniChain = 3.25f;
    return r;
}

TEST(SenderFormat, ReturnTime) {
    const std::pair<int, const char*> cases[] = {{75, "1:15"}, {5, "0:05"},    {0, "0:00"},     {60, "1:00"},
                                                 {59, "0:59"}, {610, "10:10"}, {3600, "60:00"}, {-4, "0:00"}};
    for (const auto& c : cases) EXPECT_EQ(TPlaylogSender::returnTime(c.first), c.second) << c.first;
}

TEST(SenderFormat, SaveLevelAddsTheFieldsInOrder) {
    TPlaylogSender s;
    s.init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
    s.playerName = [] { return std::string("Ola"); };
    s.saveLevel(knownRecord());
    std::vector<std::string> got;
    for (const auto& in : s.http_post->inputs) got.push_back(in->name + "=" + in->value);
    const std::vector<std::string> want = {"version=v1.0",
                                           "playerName=Ola",
                                           "id=2",
                                           "nrLevelu=7",
                                           "nrStageu=1",
                                           "zaliczony=1",
                                           "levelTime=83",
                                           "levelTimeMS=1:23",
                                           "byloContinue=1",
                                           "score=4150",
                                           "matchType=SWAP",
                                           "puzzlesAtLevel=3",
                                           "availableChips=1 2 3 4 5",
                                           "chipsCount=5",
                                           "tilesToBrake=24",
                                           "lastTileBrakeTime=1:15",
                                           "biggestMatch=5",
                                           "iloscMatch3=12",
                                           "match4=2",
                                           "match5=1",
                                           "match6=0",
                                           "match6orMore=0",
                                           "powerUp1=1",
                                           "powerUp2=0",
                                           "powerUp3=0",
                                           "powerUp4=2",
                                           "powerUp5=0",
                                           "powerUp6=0",
                                           "powerUp7=0",
                                           "powerUp8=0",
                                           "powerUp9=0",
                                           "powerUp10=3",
                                           "puzzlePickUpTime_1=0:05",
                                           "puzzlePickUpTime_2=1:01",
                                           "bonus1_usage=0",
                                           "bonus2_usage=1",
                                           "bonus3_usage=0",
                                           "bonus4_usage=0",
                                           "bonus5_usage=2",
                                           "bonus6_usage=0",
                                           "avgChain=3.25"};
    EXPECT_EQ(got, want);
}

TEST(SenderFormat, AverageChainOfMinusOneIsWrittenAsSuch) {
    TPlaylogSender s;
    s.init("/p", "h", "http://h");
    TPlayLog r = knownRecord();
    r.sredniChain = -1;
    s.saveLevel(r);
    EXPECT_EQ(s.http_post->inputs.back()->value, "-1");
}

// The request for the known record, byte for byte (tests/playlog/golden_request.txt).
TEST(SenderFormat, RequestMatchesTheGoldenFile) {
    TPlaylogSender s;
    s.init("/playlogs/brimble/playlog.php", "127.0.0.1", "http://127.0.0.1");
    s.playerName = [] { return std::string("Ola"); };
    s.saveLevel(knownRecord());
    const std::string req = s.http_post->request("127.0.0.1", 80, "/playlogs/brimble/playlog.php");
    const std::string golden = readFile(BRIMBLE_SOURCE_DIR "/tests/playlog/golden_request.txt");
    if (std::getenv("PLAYLOG_WRITE_GOLDEN")) std::ofstream("golden_request.txt", std::ios::binary) << req;
    EXPECT_EQ(req, golden);

    const size_t headEnd = req.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos);
    const std::string body = req.substr(headEnd + 4);
    const size_t cl = req.find("Content-Length: ");
    ASSERT_LT(cl, headEnd);
    EXPECT_EQ(std::stoul(req.substr(cl + 16)), body.size());
    EXPECT_EQ(req.rfind("POST http://127.0.0.1/playlogs/brimble/playlog.php HTTP/1.0\r\n", 0), 0u);
}

TEST(SenderFormat, ContentLengthCountsFileFieldsAndNonAsciiValues) {
    const std::string dir = ::testing::TempDir() + "playlog_files";
    std::filesystem::create_directories(dir);
    const std::string file = dir + "/Shot.PNG";
    std::ofstream(file, std::ios::binary)
        << std::string("\x89PNG\r\n\x1a\n\0\1\2", 11) << std::string(5000, 'z');
    tsendhttp h;
    h.addinput("playerName", "Zo\xC3\xAB");  // non-ASCII name, written as its UTF-8 bytes
    ASSERT_TRUE(h.addfile("shot", file));
    h.addinput("after", "x");
    const std::string body = h.body();
    EXPECT_EQ(h.contentLength(), body.size());
    EXPECT_NE(body.find("name=\"shot\"; filename=\"Shot.PNG\"\r\nContent-Type: image/png\r\n\r\n\x89PNG"),
              std::string::npos);
    EXPECT_NE(body.find(std::string(5000, 'z') + "\r\n--"), std::string::npos);
    EXPECT_FALSE(h.addfile("missing", dir + "/none.txt"));
    EXPECT_EQ(h.inputs.size(), 3u);
}

TEST(SenderFormat, ValuesCannotBreakOutOfTheirField) {
    tsendhttp h;
    h.addinput("playerName", "a\r\n--" + tsendhttp::boundary + "\r\nb");
    const std::string body = h.body();
    EXPECT_EQ(body.find("\r\n--" + tsendhttp::boundary + "\r\nb"), std::string::npos);
    EXPECT_EQ(h.contentLength(), body.size());
}

TEST(SenderFormat, FileContentTypes) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.gif", "image/gif"},       {"a.PNG", "image/png"},       {"a.jpg", "image/jpg"},
        {"a.JPEG", "image/jpg"},      {"a.bmp", "image/bmp"},       {"a.txt", "text/txt"},
        {"a.htm", "text/htm"},        {"a.html", "text/html"},      {"a.doc", "text/doc"},
        {"a.css", "text/css"},        {"a.exe", "application/exe"}, {"a.zip", "application/zip"},
        {"a.rar", "application/rar"}, {"a.dat", "text/plain"},      {"noext", "text/plain"},
        {"d.png/x", "text/plain"}};
    for (const auto& c : cases) EXPECT_EQ(tsendhttp::contentTypeFor(c.first), c.second) << c.first;
}

TEST(SenderFormat, DottedAddressesNeedNoLookUp) {
    EXPECT_EQ(tsendhttp::ressolvename("127.0.0.1"), 0x7f000001u);
    EXPECT_EQ(tsendhttp::ressolvename("10.20.30.40"), 0x0a141e28u);
    EXPECT_EQ(tsendhttp::ressolvename("256.1.1.1"), 0u);
    EXPECT_EQ(tsendhttp::ressolvename("1..2.3"), 0u);
    EXPECT_EQ(tsendhttp::ressolvename("localhost"), 0x7f000001u);
}

TEST(SenderFormat, AddressFile) {
    struct Case {
        const char* text;
        const char* host;
        int port;
        bool problem;
        const char* token;
    };
    const TPlaylogAddress def = TPlaylogAddress::builtIn();
    const Case cases[] = {
        {"", def.host.c_str(), def.port, false, ""},
        {"\n  \n", def.host.c_str(), def.port, false, ""},
        {"play.example.org", "play.example.org", 80, false, ""},
        {"  127.0.0.1:8080  \r\n", "127.0.0.1", 8080, false, ""},
        {"\nlogs-1.studio:65535\nignored:1\n", "logs-1.studio", 65535, false, ""},
        {"host:0", def.host.c_str(), def.port, true, ""},
        {"host:99999", def.host.c_str(), def.port, true, ""},
        {"host:http", def.host.c_str(), def.port, true, ""},
        {"bad host", def.host.c_str(), def.port, true, ""},
        {"evil\"host/x", def.host.c_str(), def.port, true, ""},
        {"logs.lan:8080\ntoken 0123456789abcdef\r\n", "logs.lan", 8080, false, "0123456789abcdef"},
        {"token 0123456789abcdef+/=\nlogs.lan", "logs.lan", 80, false, "0123456789abcdef+/="},
        {"logs.lan\ntoken short", def.host.c_str(), def.port, true, ""},
        {"logs.lan\ntoken 0123456789abcdef\"x", def.host.c_str(), def.port, true, ""},
    };
    for (const Case& c : cases) {
        const TPlaylogAddress a = TPlaylogAddress::fromText(c.text);
        EXPECT_EQ(a.host, c.host) << c.text;
        EXPECT_EQ(a.port, c.port) << c.text;
        EXPECT_EQ(!a.problem.empty(), c.problem) << c.text;
        EXPECT_EQ(a.token, c.token) << c.text;
    }
    // The token goes out as a header line of its own.
    tsendhttp h;
    h.authToken = "0123456789abcdef";
    const std::string req = h.request("logs.lan", 8080, "/playlogs/brimble/playlog.php");
    EXPECT_NE(req.find("\r\nUser-Agent: PlaylogUploader\r\nAuthorization: Bearer 0123456789abcdef\r\nContent-Type:"),
              std::string::npos)
        << req;
    EXPECT_EQ(tsendhttp().request("logs.lan", 8080, "/x").find("Authorization"), std::string::npos);
    EXPECT_EQ(def.host, "localhost");
    EXPECT_EQ(def.port, 80);
}

}  // namespace
