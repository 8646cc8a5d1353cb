#include <gtest/gtest.h>

#include "TestDir.h"
#include "data/DataGlobals.h"
#include "data/TTxtFile.h"

using TxtFile = TempDirTest;

TEST_F(TxtFile, LinesSplitAtLineFeeds) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\nb\n", {"a", "b"}},          // a final line feed gives no empty last line
        {"a\n\nb", {"a", "", "b"}},      // an empty line in the middle is kept
        {"a\r\nb\r\n", {"a\r", "b\r"}},  // carriage returns stay for callers to trim
        {"\n", {""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        TTxtFile f;
        f.setFromText(c.text);
        EXPECT_EQ(f.txt, c.lines) << testing::PrintToString(c.text);
        EXPECT_EQ(f.lines(), static_cast<int>(c.lines.size()));
    }
}

TEST_F(TxtFile, LoadTextAndLocalised) {
    std::filesystem::create_directories(dir / "txt" / "eng");
    std::filesystem::create_directories(dir / "txt" / "pol");
    writeBytes("txt/eng/names.txt", "Yes\nNo\nMaybe\n");
    writeBytes("txt/pol/names.txt", std::string("\xFF\xFET\0a\0k\0", 8));
    auto f = loadText(path("txt/eng/names.txt"));
    EXPECT_EQ(f->lines(), 3);
    EXPECT_EQ(textLine(f, 1), "Yes");
    EXPECT_EQ(textLine(f, 3), "Maybe");
    for (int n : {0, -1, 4}) EXPECT_EQ(textLine(f, n), "(BEYOND TEXT ARRAY LENGTH!)");
    EXPECT_EQ(textLine(nullptr, 1), "(BEYOND TEXT ARRAY LENGTH!)");

    const std::string oldRoot = dataRoot, oldLang = language;
    dataRoot = dir.string() + "/";
    language = "eng";
    EXPECT_EQ(textLine(loadLocalisedText("txt/names.txt"), 2), "No");
    language = "pol";
    EXPECT_EQ(textLine(loadLocalisedText("txt/names.txt"), 1), "Tak");
    language = "deu";
    auto missing = loadLocalisedText("txt/names.txt");
    EXPECT_EQ(missing->lines(), 0);
    EXPECT_EQ(textLine(missing, 1), "(BEYOND TEXT ARRAY LENGTH!)");
    // A path that already carries the prefix is not prefixed twice.
    EXPECT_EQ(textLine(loadText(dataRoot + "txt/eng/names.txt"), 1), "Yes");
    dataRoot = oldRoot;
    language = oldLang;
}

TEST_F(TxtFile, TekstySetup) {
    std::filesystem::create_directories(dir / "txt" / "eng");
    writeBytes("txt/eng/popup.txt", "Yes\nNo\n");
    const std::string oldRoot = dataRoot;
    dataRoot = dir.string() + "/";
    Teksty::setup();
    EXPECT_EQ(Teksty::popup1, "Yes");
    EXPECT_EQ(Teksty::popup2, "No");
    EXPECT_EQ(Teksty::popup3, "(BEYOND TEXT ARRAY LENGTH!)");
    dataRoot = oldRoot;
}

TEST_F(TxtFile, LoadImageCheckedWarns) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadImageChecked("gfx/none.png"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Couldn't load image file: gfx/none.png - program will probably crash!"),
              std::string::npos);
}
