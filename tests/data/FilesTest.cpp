#include <gtest/gtest.h>

#include "TestDir.h"
#include "platform/Files.h"

using Files = TempDirTest;

TEST_F(Files, ReadLineByteRules) {
    writeBytes("l.txt", std::string("one\r\ntw\ro\n\nfour\0five\n\xE9nd", 24));
    auto s = ReadFile(path("l.txt"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->readLine(), "one");
    EXPECT_EQ(s->readLine(), "two");    // every CR dropped
    EXPECT_EQ(s->readLine(), "");
    EXPECT_EQ(s->readLine(), "four");   // a zero byte ends the line
    EXPECT_EQ(s->readLine(), "five");
    EXPECT_FALSE(s->eof());
    EXPECT_EQ(s->readLine(), "\xC3\xA9nd");  // Latin-1 byte to its character
    EXPECT_TRUE(s->eof());
    EXPECT_EQ(s->readLine(), "");
}

TEST_F(Files, WriteLineOneBytePerCharacter) {
    {
        auto s = WriteFile(path("w.txt"));
        ASSERT_TRUE(s);
        EXPECT_TRUE(s->writeLine("caf\xC3\xA9"));
        EXPECT_TRUE(s->writeLine("\xC4\x80"));  // U+0100: low 8 bits
    }
    EXPECT_EQ(readBytes("w.txt"), std::string("caf\xE9\r\n\0\r\n", 9));
}

TEST_F(Files, LittleEndianNumbers) {
    {
        auto s = WriteFile(path("b.bin"));
        s->writeByte(0x1FF);
        s->writeShort(0xBEEF);
        s->writeInt(-2);
        s->writeFloat(1.5f);
        s->writeString("AB");
    }
    EXPECT_EQ(readBytes("b.bin"), std::string("\xFF\xEF\xBE\xFE\xFF\xFF\xFF\x00\x00\xC0\x3F" "AB", 13));
    auto s = ReadFile(path("b.bin"));
    EXPECT_EQ(s->readByte(), 255);
    EXPECT_EQ(s->readShort(), 0xBEEF);
    EXPECT_EQ(s->readInt(), -2);
    EXPECT_FLOAT_EQ(s->readFloat(), 1.5f);
    EXPECT_EQ(s->readString(5), "AB");  // short read stops at the end
    EXPECT_EQ(s->readInt(), 0);         // past the end reads zeros
    EXPECT_TRUE(s->eof());
}

TEST_F(Files, TypesFoldersAndNames) {
    EXPECT_EQ(FileType(path("none")), 0);
    EXPECT_EQ(FileType(dir.string()), 2);
    writeBytes("f", "x");
    EXPECT_EQ(FileType(path("f")), 1);
    EXPECT_TRUE(CreateDir(path("a/b/c"), true));
    EXPECT_EQ(FileType(path("a/b/c")), 2);
    EXPECT_FALSE(CreateDir(path("x/y"), false));
    EXPECT_TRUE(DeleteFile(path("f")));
    EXPECT_FALSE(DeleteFile(path("f")));
    EXPECT_FALSE(ReadFile(path("f")));
    EXPECT_EQ(StripDir("txt/eng/names.txt"), "names.txt");
    EXPECT_EQ(ExtractDir("txt/names.txt"), "txt");
    EXPECT_EQ(ExtractDir("names.txt"), "");
    EXPECT_EQ(RealPath("/a/b/../c"), "/a/c");
    EXPECT_FALSE(CurrentDir().empty());
}

TEST_F(Files, LoadTextByMark) {
    struct Case {
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {"plain \xE9", "plain \xC3\xA9"},
        {"\xEF\xBB\xBFu\xC3\xA9", "u\xC3\xA9"},
        {"\xEF\xBB\xBF\xFFx", "\xEF\xBF\xBDx"},  // stray byte in UTF-8 becomes U+FFFD
        {std::string("\xFF\xFEh\0\xE5\x65", 6), "h\xE6\x97\xA5"},
        {std::string("\xFE\xFF\0h\x65\xE5", 6), "h\xE6\x97\xA5"},
        {std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},  // surrogate pair
        {std::string("\xFF\xFE\x3D\xD8", 4), "\xEF\xBF\xBD"},              // lone surrogate
        {std::string("\xFF\xFEh\0i", 5), "h"},                                // odd byte dropped
        {"", ""},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        writeBytes("t" + std::to_string(n), c.bytes);
        bool found = false;
        EXPECT_EQ(LoadText(path("t" + std::to_string(n)), &found), c.utf8);
        EXPECT_TRUE(found);
        ++n;
    }
    bool found = true;
    EXPECT_EQ(LoadText(path("missing"), &found), "");
    EXPECT_FALSE(found);
}

TEST_F(Files, SaveTextNarrowOrWide) {
    ASSERT_TRUE(SaveText("a\xC3\xA9", path("n.txt")));
    EXPECT_EQ(readBytes("n.txt"), "a\xE9");
    ASSERT_TRUE(SaveText("a\xF0\x9F\x98\x80", path("w.txt")));
    EXPECT_EQ(readBytes("w.txt"), std::string("\xFF\xFE" "a\0\x3D\xD8\x00\xDE", 8));
    EXPECT_EQ(LoadText(path("w.txt")), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(FileType(path("w.txt.tmp")), 0);  // no temporary left behind
}

TEST(TextHelpers, CaseAndTrim) {
    EXPECT_EQ(Utf8Upper("ann \xC3\xA9\xC5\x82\xC3\xBF"), "ANN \xC3\x89\xC5\x81\xC5\xB8");
    EXPECT_EQ(Utf8Lower("\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");
    EXPECT_TRUE(EqualsNoCase("Profile1", "PROFILE1"));
    EXPECT_FALSE(EqualsNoCase("Profile1", "Profile"));
    EXPECT_TRUE(EqualsNoCase("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"));
    EXPECT_EQ(TrimText(" \t\r x y \n"), "x y");
    EXPECT_EQ(CodePointCount("a\xC3\xA9\xF0\x9F\x98\x80\xFF"), 4u);
}

TEST_F(Files, TextStartingLikeAMarkSurvives) {
    const std::string texts[] = {"\xC3\xBF\xC3\xBEx", "\xC3\xBE\xC3\xBFx", "\xC3\xAF\xC2\xBB\xC2\xBFx"};
    for (const auto& t : texts) {
        ASSERT_TRUE(SaveText(t, path("m.txt")));
        EXPECT_EQ(LoadText(path("m.txt")), t);
    }
}

// Files are read whole up to a size no file of the game comes near; a larger
// one is refused (with a line on stderr) instead of filling the memory.
TEST_F(Files, FilesOverTheCapAreNotRead) {
    const struct {
        const char* name;
        size_t size;
        bool read;
    } cases[] = {{"small.dat", 10, true},
                 {"at-cap.dat", static_cast<size_t>(kMaxFileBytes), true},
                 {"over-cap.dat", static_cast<size_t>(kMaxFileBytes) + 1, false}};
    for (const auto& c : cases) {
        writeBytes(c.name, std::string(c.size, 'x'));
        std::string bytes;
        testing::internal::CaptureStderr();
        const bool read = ReadBytesFile(path(c.name), bytes);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(read, c.read) << c.name;
        EXPECT_EQ(bytes.size(), c.read ? c.size : 0u) << c.name;
        EXPECT_EQ(err.find("not read") != std::string::npos, !c.read) << c.name << ": " << err;
        bool found = true;
        LoadText(path(c.name), &found);
        EXPECT_EQ(found, c.read) << c.name;
    }
}

// What saves killed before their rename leave is removed; nothing else is,
// and links are not followed out of the folder.
TEST_F(Files, InterruptedWritesAreRemoved) {
    namespace fs = std::filesystem;
    fs::create_directories(dir / "user/Profiles/65-78-78-");
    fs::create_directories(dir / "outside");
    const struct {
        const char* path;
        bool removed;
    } files[] = {
        {"user/Profiles/profiles.dat.tmp", true},
        {"user/Profiles/65-78-78-/profile.dat.tmp", true},
        {"user/.level07.lvl.check", true},
        {"user/Profiles/profiles.dat", false},
        {"user/Profiles/65-78-78-/profile.dat", false},
        {"user/notes.tmp.txt", false},
        {"user/level.check", false},
        {"user/.check", false},
        {"outside/kept.tmp", false},
    };
    for (const auto& f : files) writeBytes(f.path, "x");
    fs::create_directory_symlink(dir / "outside", dir / "user/link");
    EXPECT_EQ(DropInterruptedWrites(path("user")), 3);
    for (const auto& f : files) EXPECT_EQ(fs::exists(dir / f.path), !f.removed) << f.path;
    EXPECT_EQ(DropInterruptedWrites(path("no-such-folder")), 0);
}
