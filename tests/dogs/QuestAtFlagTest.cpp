// The development start in the middle of the quest: --quest-at LEVEL, with
// --jigsaw-solved only beside it.
#include <gtest/gtest.h>

#include "app/App.h"

namespace {

TEST(QuestAtFlag, ParsesALevelAndRefusesWhatIsNotOne) {
    const struct {
        std::vector<std::string> args;
        bool ok;
        int level;
        bool solved;
    } cases[] = {
        {{"--quest-at", "13"}, true, 13, false},
        {{"--quest-at", "13", "--jigsaw-solved"}, true, 13, true},
        {{"--jigsaw-solved", "--quest-at", "2"}, true, 2, true},
        {{}, true, 0, false},
        {{"--quest-at", "0"}, false, 0, false},
        {{"--quest-at", "-3"}, false, 0, false},
        {{"--quest-at", "12x"}, false, 0, false},
        {{"--quest-at"}, false, 0, false},
        {{"--jigsaw-solved"}, false, 0, false},
    };
    for (const auto& c : cases) {
        TCommandLine cl;
        std::string error;
        const bool ok = parseCommandLine(c.args, cl, error);
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        EXPECT_EQ(ok, c.ok) << joined;
        if (!ok) {
            EXPECT_FALSE(error.empty()) << joined;
            continue;
        }
        EXPECT_EQ(cl.questAt, c.level) << joined;
        EXPECT_EQ(cl.jigsawSolved, c.solved) << joined;
    }
}

}  // namespace
