// Every GUI script the game ships must load without a single notice: a font,
// theme, text reference or key that does not fit fails here, not on screen.
#include <algorithm>
#include <filesystem>

#include "data/DataGlobals.h"
#include "gui/TButton.h"
#include "gui/TText.h"
#include "GuiTestSupport.h"

namespace {

TEST_F(GuiTest, EveryGameScriptLoadsCleanly) {
    const std::filesystem::path game = BRIMBLE_GAME_DIR;
    std::vector<std::filesystem::path> scripts;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(game, ec)) {
        if (e.is_regular_file() && e.path().extension() == ".gui") scripts.push_back(e.path());
    }
    std::sort(scripts.begin(), scripts.end());
    if (scripts.empty()) GTEST_SKIP() << "no .gui files under " << game;
    const std::string oldRoot = dataRoot;
    dataRoot = game.string() + "/";
    for (const auto& s : scripts) {
        notices.clear();
        auto g = loadGui(s.string());
        EXPECT_TRUE(notices.empty()) << s << ": " << (notices.empty() ? "" : notices.front());
        EXPECT_FALSE(g->_listaObiektow.empty() && g->_fonts.empty() && g->_themes.empty()) << s << " is empty";
        // A text reference that reads nothing is silent at load time; catch it here.
        for (const auto& w : g->_listaObiektow) {
            std::string text;
            if (auto t = std::dynamic_pointer_cast<TText>(w)) text = t->_txt;
            if (auto b = std::dynamic_pointer_cast<TButton>(w)) text = b->_txt;
            EXPECT_EQ(text.find("(BEYOND TEXT ARRAY LENGTH!)"), std::string::npos) << s << ": " << w->_id;
        }
    }
    dataRoot = oldRoot;
}

}  // namespace
