#include <gtest/gtest.h>

#include "TestDir.h"
#include "platform/Files.h"
#include "data/TRCMFile.h"

namespace {

TRCMFilePtr parse(const std::string& text) {
    auto f = newRCMFile();
    f->LoadFromText(text);
    return f;
}

std::string goldenPath(const std::string& name) {
    return std::string(BRIMBLE_SOURCE_DIR) + "/tests/data/golden/" + name;
}

}  // namespace

using RCMFile = TempDirTest;

// A file that is there but cannot be read is not an empty file: callers
// that would write defaults over an empty one must be able to tell.
TEST_F(RCMFile, AFileThatCannotBeReadIsNotLoaded) {
    writeBytes("ok.dat", "a {\n\tb = 1\n}\n");
    writeBytes("empty.dat", "");
    writeBytes("huge.dat", "a {\n" + std::string(static_cast<size_t>(kMaxFileBytes), ' ') + "}\n");
    std::filesystem::create_directories(dir / "folder.dat");
    const struct {
        const char* name;
        bool loaded;
    } cases[] = {{"ok.dat", true}, {"empty.dat", true}, {"huge.dat", false}, {"folder.dat", false}, {"missing.dat", false}};
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        auto f = loadRCMFile(path(c.name));
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(f->_loaded, c.loaded) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Reading by the character rules

TEST(RCMRead, QuotedCommaDoesNotSeparate) {
    auto f = parse("g {\n\tkey = \"a, b\", \"c\"\n}\n");
    EXPECT_EQ(f->getString("g::key", 0), "a, b");
    EXPECT_EQ(f->getString("g::key", 1), "c");
    EXPECT_EQ(f->getString("g::key", 2), "");
}

TEST(RCMRead, EntryTypeFromFirstCharacter) {
    auto f = parse("g {\n\tcount = -3\n\tname = x3\n\tn = 7, 8.5\n\ts = \"7\"\n}\n");
    auto g = f->getGroup({"g"});
    ASSERT_TRUE(g);
    EXPECT_EQ(g->getEntry("count")->_type, 1);
    EXPECT_FLOAT_EQ(f->getFloat("g::count"), -3.0f);
    // A string item is the text from its third character to the next-to-last,
    // so an unquoted word loses its first and last character.
    EXPECT_EQ(g->getEntry("name")->_type, 0);
    EXPECT_EQ(f->getString("g::name"), "");
    EXPECT_FLOAT_EQ(f->getFloat("g::n", 1), 8.5f);
    // Number items keep their surrounding spaces.
    EXPECT_EQ(f->getString("g::n", 1), " 8.5");
    EXPECT_EQ(g->getEntry("s")->_type, 0);
    EXPECT_EQ(f->getInt("g::s"), 7);
}

TEST(RCMRead, FinalBraceWithoutLineFeed) {
    auto a = parse("g {\n\tv = 5\n\tw = \"x\"\n}");
    auto b = parse("g {\n\tv = 5\n\tw = \"x\"\n}\n");
    EXPECT_FLOAT_EQ(a->getFloat("g::v"), 5);
    EXPECT_EQ(a->getString("g::w"), "x");
    EXPECT_EQ(a->_grupa->save(""), b->_grupa->save(""));
}

TEST(RCMRead, NamesAreCaseBlind) {
    auto f = parse("Profiles {\n\tProfile1 = \"Ann\", \"65-78-78-\"\n}\n");
    EXPECT_EQ(f->getString("profiles::profile1", 1), "65-78-78-");
    EXPECT_EQ(f->getString("PROFILES::PROFILE1", 0), "Ann");
    // Non-ASCII letters fold too.
    auto g = parse("\xC3\x89t\xC3\xA9 {\n\tv = 1\n}\n");
    EXPECT_EQ(g->getInt("\xC3\xA9T\xC3\x89::V"), 1);
}

TEST(RCMRead, NestedGroupsAndPos) {
    auto f = newRCMFile();
    auto g = f->readAll("a = 1\nsub {\nb = 2\n}\n}tail", "X");
    EXPECT_EQ(g->_id, "X");
    ASSERT_EQ(g->_listaGrup.size(), 1u);
    EXPECT_EQ(g->_listaGrup[0]->_id, "sub");
    EXPECT_EQ(g->_listaGrup[0]->_pos, 8);  // "\nb = 2\n}"
    EXPECT_EQ(g->_pos, 21);               // up to and including the second "}"
    EXPECT_EQ(g->getEntry("a")->_value[0], " 1");
}

TEST(RCMRead, SecondEqualsCutsTheValue) {
    auto f = parse("g {\n\tk = 1 = 2\n}\n");
    EXPECT_EQ(f->getString("g::k"), " 1 ");
}

TEST(RCMRead, EmptyTrailingPiecesDropped) {
    auto f = parse("g {\n\tk = 1, 2,\n\te =\n}\n");
    auto g = f->getGroup({"g"});
    EXPECT_EQ(g->getEntry("k")->_value.size(), 2u);
    EXPECT_EQ(g->getEntry("e")->_value.size(), 0u);
    EXPECT_EQ(f->getString("g::e", 0), "");
    EXPECT_FLOAT_EQ(f->getFloat("g::e", 3), 0.0f);
}

TEST(RCMRead, UnbalancedBracesReportedAndEmpty) {
    testing::internal::CaptureStdout();
    auto f = parse("g {\n\tv = 1\n\th {\n}\n");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Napotkano problem : Blad nawiasow klamrowych! \"{\" - 2 \"}\" - 1\n");
    EXPECT_EQ(f->getString("g::v"), "");
    EXPECT_TRUE(f->_grupa->_listaGrup.empty());
    EXPECT_FALSE(f->_loaded);
    EXPECT_TRUE(parse("g {\n}\n")->_loaded);
}

TEST(RCMRead, BracesInsideQuotesAreNotCounted) {
    testing::internal::CaptureStdout();
    auto f = parse("g {\n\tv = \"{\"\n}\n");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");  // counts pass: 1 and 1
}

TEST(RCMRead, DepthIsBounded) {
    auto nested = [](int depth) {
        std::string s;
        for (int i = 0; i < depth; ++i) s += "g {\n";
        s += "v = 1\n";
        for (int i = 0; i < depth; ++i) s += "}\n";
        return s;
    };
    auto ok = parse(nested(TRCMFile::kMaxDepth));
    std::string path = "g";
    for (int i = 1; i < TRCMFile::kMaxDepth; ++i) path += "::g";
    EXPECT_EQ(ok->getInt(path + "::v"), 1);

    testing::internal::CaptureStdout();
    auto deep = parse(nested(TRCMFile::kMaxDepth + 1));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Napotkano problem : Groups nested deeper than 64"), std::string::npos);
    EXPECT_TRUE(deep->_grupa->_listaGrup.empty());
    EXPECT_FALSE(deep->_loaded);
}

TEST(RCMRead, HostileBytesDoNotCrash) {
    const std::string cases[] = {
        std::string(1000, '\0'),
        "=",
        "=\n",
        "\"\"\"{",
        "}}}{{{",
        "{=\n}",
        "a{b{c{d=\"\n}}}",
        "g {\n k = \"unterminated\n}\n",
        "g {\n k = ,,,,\"\",\n}\n",
        "g {\n k = \xff\xfe\n}\n",
        "{\n\"=\n}\n",
        std::string("\xFF\xFE", 2) + "g\0{\0",
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStdout();
        auto f = parse(c);
        f->getString("g::k");
        f->getFloat("a::b::c::d");
        f->_grupa->save("");
        testing::internal::GetCapturedStdout();
    }
}

TEST(RCMRead, HugeLineReadsInLinearTime) {
    std::string big = "g {\n\tk = \"" + std::string(10 * 1024 * 1024, 'x') + "\"\n}\n";
    auto f = parse(big);
    EXPECT_EQ(f->getString("g::k").size(), 10u * 1024 * 1024);
}

TEST(RCMRead, MyTrimKeepsZeros) {
    TRCMFile f;
    EXPECT_EQ(f.myTrim("  0100  "), "0100");
    EXPECT_EQ(f.myTrim("\t*a*\r"), "0a0");
}

// ---------------------------------------------------------------------------
// Paths, setters, getters

TEST(RCMPaths, SetCreatesGroupsAndEntries) {
    auto f = newRCMFile();
    f->setString("a::b::c", "v");
    ASSERT_TRUE(f->getGroup({"a", "b"}));
    EXPECT_EQ(f->getString("a::b::c", 0), "v");
    EXPECT_EQ(f->getString("a::x::c", 0), "");
    EXPECT_FLOAT_EQ(f->getFloat("a::x::c", 0), 0.0f);
    EXPECT_FALSE(f->getGroup({"a", "x"}));  // getters never create
    EXPECT_EQ(f->getGroup({"a", "b"})->getEntry("c")->_type, 0);
    f->setFloat("a::b::n", 3);
    EXPECT_EQ(f->getGroup({"a", "b"})->getEntry("n")->_type, 1);
}

TEST(RCMPaths, IndexGrowsArray) {
    auto f = newRCMFile();
    f->setString("g::k", "z", 3);
    auto e = f->getGroup({"g"})->getEntry("k");
    ASSERT_EQ(e->_value.size(), 4u);
    EXPECT_EQ(e->_value[0], "");
    EXPECT_EQ(f->getString("g::k", 3), "z");
    f->setString("g::k", "bad", -1);         // ignored, no crash
    f->setString("g::k", "bad", 1 << 30);    // ignored, no huge allocation
    EXPECT_EQ(e->_value.size(), 4u);
}

TEST(RCMPaths, RemoveString) {
    auto f = parse("g {\n\ta = 1\n\tb = 2\n}\n");
    f->removeString("G::A");
    EXPECT_FALSE(f->hasEntry("g::a"));
    EXPECT_TRUE(f->hasEntry("g::b"));
    f->removeString("nope::a");  // missing group: nothing
}

TEST(RCMPaths, FloatTextAndIntegers) {
    EXPECT_EQ(rcmNumberText(2.0), "2");
    EXPECT_EQ(rcmNumberText(2.5), "2.5");
    EXPECT_EQ(rcmNumberText(0.3f), "0.300000012");
    EXPECT_EQ(rcmNumberText(-0.0), "0");
    EXPECT_EQ(rcmNumberText(20000001), "20000001");
    auto f = newRCMFile();
    f->setFloat("p::score", 20000001);
    EXPECT_EQ(f->getInt("p::score"), 20000001);
    f->setFloat("p::neg", -7.9);
    EXPECT_EQ(f->getInt("p::neg"), -7);  // truncated toward zero
}

TEST(RCMPaths, GetFloatPrintShowsGroup) {
    auto f = parse("g {\n\tv = 4\n}\n");
    testing::internal::CaptureStdout();
    EXPECT_FLOAT_EQ(f->getFloat("g::v", 0, 1), 4.0f);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("v = 4"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Writer

TEST_F(RCMFile, WriterLayoutMatchesGolden) {
    auto f = newRCMFile();
    f->setFloat("settings::fullScreen", 1);
    f->setFloat("settings::musicVolume", 0.3f);
    f->setString("settings::name", "Ann", 0);
    f->setString("settings::name", "x, y", 1);
    f->setFloat("settings::empty", 5);
    f->setString("settings::empty", "", 0);
    f->setFloat("settings::whole", 12.0);
    f->setFloat("settings::whole", 2.5, 1);
    f->setString("settings::whole", "", 2);
    f->setString("level::frame::row0", "\"0 1 2\"", 0);
    f->setString("level::frame::row0", "\"0 3\"", 1);
    f->setString("level::frame::row1", "", 0);
    f->setString("rootEntry", "not written");
    ASSERT_TRUE(f->save(path("out.dat")));
    std::string golden;
    ASSERT_TRUE(ReadBytesFile(goldenPath("writer_layout.dat"), golden));
    EXPECT_EQ(readBytes("out.dat"), golden);
    // An empty first item became "0" in the entry itself.
    EXPECT_EQ(f->getString("level::frame::row1"), "0");
}

TEST_F(RCMFile, MissingFileMessage) {
    testing::internal::CaptureStdout();
    auto f = loadRCMFile(path("none.dat"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Napotkano problem : Nie znaleziono pliku : " + path("none.dat") + "\n");
    EXPECT_EQ(f->getString("a::b"), "");
    EXPECT_EQ(f->_path, path("none.dat"));
    EXPECT_FALSE(f->_loaded);
    EXPECT_EQ(f->Load(path("none.dat")), 0);
}

TEST_F(RCMFile, EncodingOnDisk) {
    auto f = newRCMFile();
    f->setString("g::k", "caf\xC3\xA9");
    ASSERT_TRUE(f->save(path("latin.dat")));
    EXPECT_EQ(readBytes("latin.dat"), "g {\n\tk = \"caf\xE9\"\n}\n\n");
    f->setString("g::k", "\xE6\x97\xA5");  // U+65E5
    ASSERT_TRUE(f->save(path("wide.dat")));
    std::string w = readBytes("wide.dat");
    ASSERT_GE(w.size(), 4u);
    EXPECT_EQ(w.substr(0, 4), std::string("\xFF\xFEg\0", 4));
    EXPECT_EQ(loadRCMFile(path("wide.dat"))->getString("g::k"), "\xE6\x97\xA5");
    EXPECT_EQ(loadRCMFile(path("latin.dat"))->getString("g::k"), "caf\xC3\xA9");
}

TEST_F(RCMFile, ReadsUtf16BigEndianAndUtf8Marks) {
    std::string text = "g {\n\tk = \"\xC3\xA9\"\n}\n";
    std::string be = "\xFE\xFF";
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = NextCodePoint(text, i);
        be.push_back(static_cast<char>(cp >> 8));
        be.push_back(static_cast<char>(cp & 0xFF));
    }
    writeBytes("be.dat", be);
    writeBytes("u8.dat", "\xEF\xBB\xBF" + text);
    EXPECT_EQ(loadRCMFile(path("be.dat"))->getString("g::k"), "\xC3\xA9");
    EXPECT_EQ(loadRCMFile(path("u8.dat"))->getString("g::k"), "\xC3\xA9");
    // Truncated UTF-16: the odd last byte is dropped, the rest reads.
    writeBytes("trunc.dat", be + "\x00");
    EXPECT_EQ(loadRCMFile(path("trunc.dat"))->getString("g::k"), "\xC3\xA9");
}

// Every value the writer writes reads back unchanged, hostile ones included,
// and the values around it survive.
TEST_F(RCMFile, RoundTripHostileValues) {
    const std::string values[] = {
        "plain",
        "a, b",
        "two\nlines",
        "x=y",
        "{",
        "}",
        "open { and close }",
        "\"",
        "a\"b",
        "\"q\"",
        "\"a\", \"b\"",
        "a\"b,c\"d",
        "%41 and %",
        "`",
        " `x` ",
        "`%0A`",
        "\r",
        "trailing \r\n",
        std::string("nul\0byte", 8),
        "\xFF\xFE stray bytes \x80",
        "caf\xC3\xA9",
        "\xE6\x97\xA5\xE6\x9C\xAC",
        "\xF0\x9F\x98\x80",
        "\"0 1 2\"",
        "  spaces  ",
        "=",
        ",",
        "a,",
        std::string(5000, '{'),
    };
    for (const auto& v : values) {
        SCOPED_TRACE(testing::PrintToString(v));
        auto f = newRCMFile();
        f->setString("before::k", "safe");
        f->setString("g::sub::v", v, 0);
        f->setString("g::sub::v", v, 2);
        f->setString("g::sub::v", "mid", 1);
        f->setFloat("g::sub::n", 42);
        f->setString("after::k", "safe too");
        ASSERT_TRUE(f->save(path("rt.dat")));
        testing::internal::CaptureStdout();
        auto r = loadRCMFile(path("rt.dat"));
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out, "");
        EXPECT_EQ(r->getString("g::sub::v", 0), v);
        EXPECT_EQ(r->getString("g::sub::v", 1), "mid");
        EXPECT_EQ(r->getString("g::sub::v", 2), v);
        EXPECT_EQ(r->getInt("g::sub::n"), 42);
        EXPECT_EQ(r->getString("before::k"), "safe");
        EXPECT_EQ(r->getString("after::k"), "safe too");
        // A second save of what was read gives the same bytes.
        std::string first = readBytes("rt.dat");
        ASSERT_TRUE(r->save(path("rt2.dat")));
        EXPECT_EQ(readBytes("rt2.dat"), first);
    }
}

TEST_F(RCMFile, PlainValuesKeepTheirBytes) {
    auto f = newRCMFile();
    f->setString("level::frame::row0", "\"0 1 2\"", 0);
    f->setString("level::frame::row0", "\"0 3\"", 1);
    f->setString("level::tiles::row0", "1 1 2 0");
    f->setString("p::path", "C:\\games\\x.lvl");
    f->setString("p::pct", "100%");
    ASSERT_TRUE(f->save(path("plain.dat")));
    std::string s = readBytes("plain.dat");
    EXPECT_NE(s.find("\trow0 = \"\"0 1 2\"\", \"\"0 3\"\"\n"), std::string::npos);
    EXPECT_NE(s.find("\trow0 = \"1 1 2 0\"\n"), std::string::npos);
    EXPECT_NE(s.find("\tpath = \"C:\\games\\x.lvl\"\n"), std::string::npos);
    EXPECT_NE(s.find("\tpct = \"100%\"\n"), std::string::npos);
    EXPECT_EQ(s.find('`'), std::string::npos);
}

TEST_F(RCMFile, TextInANumberEntryStillRoundTrips) {
    auto f = parse("g {\n\tk = 5\n}\n");
    f->setString("g::k", "hello, {world}", 0);
    ASSERT_TRUE(f->save(path("n.dat")));
    EXPECT_EQ(loadRCMFile(path("n.dat"))->getString("g::k"), "hello, {world}");
    auto g = parse("g {\n\tk = 5\n}\n");
    g->setString("g::k", ".5", 0);  // would read back as a string entry with no text
    ASSERT_TRUE(g->save(path("m.dat")));
    EXPECT_FLOAT_EQ(loadRCMFile(path("m.dat"))->getFloat("g::k"), 0.5f);
}

TEST_F(RCMFile, RoundTripTable) {
    struct Case {
        const char* path;
        double number;
        const char* text;
    };
    const Case cases[] = {
        {"settings::fullScreen", 1, "1"},
        {"settings::musicVolume", 0.75, "0.75"},
        {"a::b::c::d::e", -3, "-3"},
        {"Profile::score", 123456789, "123456789"},
        {"x::y", 2.5, "2.5"},
        {"x::z", 1e-5, "1e-05"},
    };
    auto f = newRCMFile();
    for (const auto& c : cases) f->setFloat(c.path, c.number);
    ASSERT_TRUE(f->save(path("t.dat")));
    auto r = loadRCMFile(path("t.dat"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_FLOAT_EQ(r->getFloat(c.path), static_cast<float>(c.number));
        EXPECT_EQ(TrimText(r->getString(c.path)), c.text);
    }
}

TEST_F(RCMFile, SaveIsAtomicAndReportsFailure) {
    auto f = newRCMFile();
    f->setString("g::k", "v1");
    ASSERT_TRUE(f->save(path("a.dat")));
    // A folder in the way of the temporary file makes the save fail; the
    // previous file stays as it was.
    std::filesystem::create_directories(dir / "a.dat.tmp" / "x");
    f->setString("g::k", "v2");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(f->save(path("a.dat")));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(loadRCMFile(path("a.dat"))->getString("g::k"), "v1");
}
