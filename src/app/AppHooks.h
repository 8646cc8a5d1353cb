// Where the start-up sequence, the main loop and the per-frame services reach
// subsystems that live elsewhere (GUI mouse, sound manager, profiles, options,
// screens, loading, branding, play log). Every hook defaults to a harmless
// stand-in (a no-op, or a placeholder screen for the screen loops), so the
// game runs end to end before those subsystems exist.
//
// Wiring the real subsystems in is done in one place: wireAppHooks() in
// src/app/AppWiring.cpp, called at start-up right after the frame timer is
// created (the singletons' creation step).
#pragma once

#include <functional>
#include <string>

struct AppHooks {
    // -- start-up ----------------------------------------------------------
    std::function<void()> createSingletons;  // screens and managers, in the table's order; effect lists
    std::function<void()> initPlayLog;       // playlogSender.init(script path, host, referer)
    std::function<void()> loadOptions;       // options.loadOptions()
    std::function<void()> openScreen;        // options.openScreen(); default: openGraphics(1024, 768, 0, 0)
    std::function<void(const std::string& name, const std::string& path)> loadCursor;  // mouse.loadCursor(name, path, 1, 1, 1, 0)
    std::function<void(bool on)> setCursorVisible;  // TMouse._v
    std::function<void()> setupMouse;               // options.setupMouse()
    std::function<void()> brandingShow;             // branding.setup(); branding.mainLoop()
    std::function<void()> loadingScreen;            // loadingScreen.PART1() .. PART5()

    // -- per frame ---------------------------------------------------------
    std::function<void(int special)> mouseUpdate;  // mouse.updateSpec() / mouse.update()
    std::function<void()> mouseDraw;               // mouse.draw()
    std::function<void()> soundUpdate;             // globalSnd.update()
    std::function<void()> stopAllSounds;           // globalSnd.stopAllSounds()
    std::function<void()> resumeAllSounds;         // globalSnd.resumeAllSounds()

    // -- exit --------------------------------------------------------------
    std::function<void()> saveProfiles;  // profileManager.save()
    std::function<void()> saveOptions;   // options.saveOptions()
    std::function<void()> savePlayLog;   // the play log, when playLogEnabled

    // -- screens (each returns the next name) -------------------------------
    std::function<std::string()> mainMenuLoop;
    std::function<std::string()> mainGameLoop;
    std::function<std::string(int part)> storyLoop;
    std::function<std::string()> ubieranieLoop;
    std::function<std::string()> puzzleLoop;
    std::function<std::string(int mode)> galeriaLoop;
    std::function<std::string()> endOfGameLoop;
    // Opens the play screen on one level file (--play-level); null = not available yet.
    std::function<int(const std::string& file, bool timed)> playLevel;

    // -- quest steps' profile and play-screen operations ----------------------
    std::function<int()> profileLevelNumber;                // profile.nrLevelu
    std::function<void(int)> setProfileLevelNumber;         // profile.nrLevelu = n
    std::function<void()> profileSave;                      // profile.save()
    std::function<void()> questStartNew;                    // profile.QUEST_startNew()
    std::function<int()> questLoadActLevel;                 // profile.QUEST_loadActLevel()
    std::function<void()> mainGameSetQuestLevel;            // mainGame.setLevel(profile.questLevel)
    std::function<void()> mainGameSetStartData;             // mainGame.setStartData()
    std::function<void(int)> mainGameSetContinueLevel;      // mainGame.continueLevel = n
    std::function<std::string()> profileGameType;           // profile.gameType
    std::function<bool()> finishedLevelHasPuzzle;          // mainGame.level.saPuzzle != 0
    std::function<std::string()> profileNextStage;          // profile.getNextStage()

    // -- headless harness ------------------------------------------------------
    // Set by the play screen while its loop runs: the script's "autoplay" and
    // "expect-state" then work (see Harness.h for the per-frame calls).
    std::function<bool()> autoplayAvailable;
    std::function<std::string()> screenState;
};

// The one set of hooks of the process.
AppHooks& appHooks();
// Fills every empty hook with its stand-in (called after wiring).
void fillDefaultHooks();
// Connects the real subsystems (src/app/AppWiring.cpp).
void wireAppHooks();
