// The headless harness: runs a script of input and checks against the real
// game, one command a line (see ENGINEERING.md). Commands are carried out
// between frames, from frameFlip.
#pragma once

#include <string>
#include <vector>

struct THarnessCommand {
    int line = 0;
    std::string name;
    std::vector<std::string> args;  // words after the name ("type": the rest of the line)
    std::vector<int> numbers;       // the numeric arguments
};

// Parses a script. On an error returns false with "line N: message" in error.
bool parseHarnessScript(const std::string& text, std::vector<THarnessCommand>& out, std::string& error);

// Loads the script (exits with status 2 on a script error) and starts the run.
void harnessStart(const std::string& scriptPath, const std::string& shotsDir, bool drawEveryFrame);
bool harnessActive();
// Called by frameFlip after each presented frame.
void harnessAfterFrame();
// 0 while every expectation held.
int harnessExitStatus();
// Called when the main loop returns: reports expectations the run never reached.
int harnessFinish();

// For the play screen: whether the script wants an autoplayer move now, and
// the report that one was made.
bool HarnessAutoplayWanted();
void HarnessAutoplayMoveMade();
