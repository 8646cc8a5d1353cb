// The shared font loader hands every screen the same font for the same file,
// size and style, and keeps nothing for a file it cannot load.
#include <gtest/gtest.h>

#include <filesystem>

#include "branding/FontCache.h"
#include "platform/Services.h"
#include "platform/sdl/SdlBackend.h"

namespace {

TEST(FontCache, OneFontPerPathSizeAndStyle) {
    InstallBackend(MakeHeadlessBackend());
    clearSharedFonts();
    const std::string bookman = std::string(BRIMBLE_GAME_DIR) + "/gfx/fonts/Bookman.ttf";
    if (!std::filesystem::is_regular_file(bookman)) GTEST_SKIP() << "no game content built";

    const FontPtr a = loadSharedFont(bookman, 24);
    ASSERT_TRUE(a);
    EXPECT_EQ(loadSharedFont(bookman, 24), a);
    EXPECT_EQ(loadSharedFont(bookman, 24, 4), a);  // "smooth" is how fonts are drawn anyway
    EXPECT_NE(loadSharedFont(bookman, 26), a);
    EXPECT_NE(loadSharedFont(bookman, 24, 1), a);
    EXPECT_EQ(sharedFontCount(), 3u);

    // A missing file gives null and is tried again next time, not remembered.
    EXPECT_FALSE(loadSharedFont(bookman + ".missing", 24));
    EXPECT_EQ(sharedFontCount(), 3u);
    clearSharedFonts();
    InstallBackend(nullptr);
}

}  // namespace
