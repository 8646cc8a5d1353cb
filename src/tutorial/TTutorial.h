// The tutorial: tips read from "data/tutorial.dat" that appear over the play
// screen, the owner scene and the jigsaw screen the first time the player
// meets what they explain. The screens call tutorialUpdate(screen) and
// tutorialDraw(screen) every frame; the tutorial attaches itself to the
// calling screen, starts the first waiting tip (in file order) made for that
// screen whose conditions hold, runs it and draws it. A started tip is
// recorded in the player's profile at once and never shown to that player
// again, until the options' "tutorial" switch turns the tips back on (a tip
// that ends before anything of it reached the screen waits again).
//
// The tutorial runs only when "noTutorial.txt" was absent at start, a player
// is chosen, the player's tutorialOn is set and (on the play screen) the level
// is played for that player.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "tutorial/TTutorialTip.h"

class TProfile;

class TTutorial : public TEkran {
public:
    TTutorial();

    std::array<ImagePtr, 4> back{};  // SMALL, NORMAL, CHAIN, GROUP
    std::array<FontPtr, 3> font{};   // 16, 20 and 24 pixels
    TEkran* ekr = nullptr;           // the screen the tutorial is attached to
    TTutorialTipPtr actTip;          // the tip on screen, or null
    // Every tip, in file order.
    std::vector<TTutorialTipPtr> tips;
    // What was wrong with the tip file (one line each; also on stderr).
    std::vector<std::string> problems;
    // The tip file and the pictures' folder (tests point them elsewhere).
    std::string tipFile = "data/tutorial.dat";

    // Pictures, fonts, the "ok" button and the tips (the tips only once).
    int setup() override;
    // Reads the tips alone (no pictures): the profiles ask for tips by id
    // when they are read, before any screen runs.
    void readTips();
    // Forgets the tips and reads `path` instead (tests).
    void loadTipsFrom(const std::string& path);
    int update() override;
    int draw() override;

    // 1 when no tip with this id is waiting for the player (it was shown, or
    // there is no such tip).
    int bylTutorial(const std::string& id);
    // Starts a tip: pending clicks are dropped, the tip is recorded in the
    // player's profile and becomes the tip on screen, from its beginning.
    void startTutorial(const TTutorialTipPtr& tip);
    void startTutorial(const std::string& id);
    // The waiting tip with this id, or null.
    TTutorialTipPtr getTipById(const std::string& id);
    // Any tip with this id, waiting or not, or null (the profile's reader).
    TTutorialTipPtr tipById(const std::string& id);
    // The tip on screen goes at once, and the lock it put on its screen with it.
    void clearTip();
    // A tip is on `screen` (null: on any screen).
    bool tipShown(const TEkran* screen = nullptr) const;

    // The player the tips are for, or null when the tutorial does not run on
    // `screen` (see the file's comment).
    TProfile* playerFor(TEkran* screen) const;
    // Attaches to `screen` and updates or draws there, when the tutorial runs on it.
    void updateOn(TEkran* screen);
    void drawOn(TEkran* screen);

private:
    bool _tipsRead = false;
    bool _setUp = false;
    int _lastCheck = 0;
    bool _waiting(const TTutorialTip& tip, const TProfile* p) const;
    // A tip that ended before any of it reached the screen (the player left,
    // or its target went while it waited) is taken off the player's shown
    // tips again: it waits for its next chance.
    void _forgetIfUnseen(const TTutorialTipPtr& tip);
    void _placeOk();
};

extern std::shared_ptr<TTutorial> tutorial;

// The per-frame calls of the screens that show tips (nothing when the
// tutorial is off or not made).
void tutorialUpdate(TEkran* screen);
void tutorialDraw(TEkran* screen);
