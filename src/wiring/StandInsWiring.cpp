// Stand-ins for the screens the game does not have yet (the story, the owner scene, the jigsaw and the gallery): each shows its name
// and the names it can lead to, so the whole quest can be walked. Each is
// replaced by registering the real screen under the same name.
#include <map>
#include <memory>
#include <vector>

#include "app/Control.h"
#include "app/TPlaceholderScreen.h"
#include "profiles/TProfileManager.h"
#include "wiring/Wiring.h"

namespace {

std::string runStandIn(const std::string& name, const std::vector<std::string>& choices) {
    static std::map<std::string, std::shared_ptr<TPlaceholderScreen>> screens;
    auto& s = screens[name];
    if (!s) s = std::make_shared<TPlaceholderScreen>(name, choices);
    return s->mainLoop();
}

void standIn(const std::string& name, std::vector<std::string> choices) {
    if (Control::isRegistered(name)) return;
    Control::registerScreen(name, [name, choices] { return runStandIn(name, choices); });
}

}  // namespace

void wireStandIns() {
    // The story row: story 1 before level 10, story 3 at level 13, otherwise
    // the gallery and then the ending.
    if (!Control::isRegistered("STORY"))
        Control::registerScreen("STORY", [] {
            const TProfilePtr p = profileManager().profile;
            const int level = p ? p->nrLevelu : 1;
            if (level < 10) return runStandIn("STORY", {"UBIERANIE"});
            if (level == 13) return runStandIn("STORY", {"UBIERANIE"});
            runStandIn("GALERIA", {"UBIERANIE", "MAIN-MENU"});
            return runStandIn("STORY-END", {"MAIN-MENU"});
        });
    standIn("UBIERANIE", {"MAIN-GAME", "MAIN-MENU"});
    standIn("PUZZLE", {"GET-NEXT-STAGE", "MAIN-MENU"});
    standIn("GALERIA", {"UBIERANIE", "MAIN-MENU"});
}
