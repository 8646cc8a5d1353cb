// The campaign in the screen table: the "STORY" row with the story screen,
// and the level manager behind the profile's quest levels and the quest
// steps' look-ups.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/Control.h"
#include "app/TMainGame.h"
#include "campaign/TLevelManager.h"
#include "campaign/TStory.h"
#include "match3/TLevel.h"
#include "platform/Files.h"
#include "profiles/ProfileHooks.h"
#include "profiles/TProfileManager.h"
#include "wiring/Wiring.h"

namespace {

// The tables are read on first use (the loading screen may read them
// earlier by calling levelManager().setup()).
TLevelManager& tables() {
    levelManager().setupOnce();
    return levelManager();
}

// Every stage is done: the stage number has passed the dog table (a
// campaign has at least one stage, so a new quest is never complete).
bool campaignComplete(const TProfile& p) {
    const ProfileHooks& h = profileHooks();
    const int dogs = h.dogCount ? h.dogCount() : 0;
    return p.nrStageu > std::max(dogs, 1);
}

// Story 1 opens a new quest, story 3 plays at level 13, and after the last
// stage the gallery, the ending (story 2) and the credits close the
// campaign. Any other visit is not a story moment: the quest goes on, so
// the ending can never come before the last stage is done.
std::string runStoryRow() {
    if (!story) story = std::make_shared<TStory>();
    const TProfilePtr p = profileManager().profile;
    const int level = p ? p->nrLevelu : 1;
    const int n = TStory::storyFor(level, p && campaignComplete(*p));
    if (n == 2) {
        if (Control::isRegistered("GALERIA")) Control::dispatch("GALERIA");  // its result is not used
        Control::currentName = "STORY";
        // The quest is complete: nothing is left to resume.
        p->questLevel = nullptr;
        p->gameType.clear();
    }
    if (n != 0) return story->mainLoop(n);
    std::fprintf(stderr, "No story belongs to level %d before the campaign's end; the quest goes on.\n",
                 level);
    return "UBIERANIE";
}

}  // namespace

void wireCampaign() {
    ProfileHooks& h = profileHooks();
    h.loadQuestLevel = [](int n) -> std::shared_ptr<TLevel> {
        const TLevelDataPtr d = tables().getQuestLevelData(n);
        if (!d) {
            std::fprintf(stderr, "Quest level %d is not in %s.\n", n, TLevelManager::kQuestLevels);
            return nullptr;
        }
        if (!mainGame) return loadLevelFile(d->url, nullptr);
        mainGame->setup();  // the tile and chip tables a level is read against
        return loadLevelFile(d->url, mainGame->m3Game.get());
    };
    // A saved quest level is read against the play screen's tile and chip
    // tables, as a level from the tables is: without them its tiles are refused.
    h.loadLevel = [](const std::string& path) -> std::shared_ptr<TLevel> {
        if (FileType(path) != 1) return nullptr;
        if (!mainGame) return loadLevelFile(path, nullptr);
        mainGame->setup();
        return loadLevelFile(path, mainGame->m3Game.get());
    };
    h.storySetup = [] {
        if (story) story->setup();
    };
    Control::hasQuestLevel = [](int n) { return tables().getQuestLevelData(n) != nullptr; };
    Control::registerScreen("STORY", runStoryRow);
}
