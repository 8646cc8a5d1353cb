// What the win and lose screens need from the play screen and the profile.
// The wiring fills it from the play screen and the current profile; tests
// fill it by hand.
#pragma once

#include <functional>
#include <memory>
#include <string>

class TLevel;

struct TResultsHost {
    std::function<std::shared_ptr<TLevel>()> level;  // the level just played
    std::function<std::string()> gameMode;           // the profile's "RELAXED" or "TIMED"
    std::function<std::string()> timeLeft;           // the play screen's remaining time as text
    std::function<int()> profileScore;
    std::function<void(int)> addProfileScore;
    std::function<void(int)> addProfilePuzzles;
    // Pieces of the profile's jigsaw not yet owned (before this level's are added).
    std::function<int()> puzzlesMissing;
    std::function<void()> drawUnder;    // the frozen play screen
    std::function<void()> updateUnder;  // keeps the play screen alive behind
};

TResultsHost& resultsHost();
