// What the win and lose screens read from the level just played and credit to
// its player. The play screen and its profile answer by default; tests
// install a fake with setResultsHost.
#pragma once

#include <memory>
#include <string>

class TLevel;

class TResultsHost {
public:
    virtual ~TResultsHost() = default;
    virtual std::shared_ptr<TLevel> level();  // the level just played
    virtual std::string gameMode();           // the player's "RELAXED" or "TIMED"
    virtual std::string timeLeft();           // the play screen's remaining time as text
    // Plates broken this level, as the HUD's plate counter counted them down.
    virtual int platesBroken();
    virtual int profileScore();
    virtual void addProfileScore(int n);
    virtual void addProfilePuzzles(int n);
    // Pieces of the player's jigsaw not yet owned (before this level's are added).
    virtual int puzzlesMissing();
};

// The installed host; the play screen's own unless a test set another.
TResultsHost& resultsHost();
// Not owned; null restores the play screen's.
void setResultsHost(TResultsHost* host);
