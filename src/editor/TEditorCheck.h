// "Check": plays the level with the autoplayer on ten seeds, relaxed and
// timed, in child processes running the level runner, so the editor's frames
// never wait for it. Two runs at a time (the machine has other work too).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/TChildProcess.h"

struct TEditorRun {
    int seed = 0;
    bool timed = false;
    std::string outcome;  // "won", "lost", "stuck", "frames", "error"
    int moves = 0;
    int frames = 0;
    bool startMove = true;  // the first board had a move
};

struct TEditorCheckSummary {
    int runs[2] = {0, 0};  // [relaxed, timed]
    int won[2] = {0, 0};
    int medianMoves[2] = {0, 0};  // over the runs won (all runs when none was won)
    float medianSeconds[2] = {0, 0};
    int noStartMove = 0;  // runs whose first board had no move
    int errors = 0;
    std::vector<std::string> warnings;
};

// One line of the runner's JSON; false when the line is not one.
bool parseLevelRun(const std::string& line, TEditorRun& run);
TEditorCheckSummary summariseRuns(const std::vector<TEditorRun>& runs);

class TEditorCheck {
public:
    static constexpr int kSeeds = 10;
    static constexpr int kParallel = 2;

    ~TEditorCheck() { cancel(); }
    // Starts checking the level file; false (why set) when the runner is missing.
    bool start(const std::string& levelFile, std::string& why);
    // Called once a frame: reaps finished runs and starts the next ones. Never waits.
    void poll();
    void cancel();
    bool busy() const { return _started && !_done; }
    bool done() const { return _done; }
    int finishedRuns() const { return static_cast<int>(_results.size()); }
    int totalRuns() const { return 2 * kSeeds; }
    const std::vector<TEditorRun>& results() const { return _results; }
    TEditorCheckSummary summary() const { return summariseRuns(_results); }
    int elapsedMs() const;

    // The runner program: $BRIMBLE_LEVELRUN, else "levelrun" beside the game,
    // else the installed one in ../libexec/brimble/.
    static std::string runnerPath();
    int maxFrames = 60 * 60 * 15;  // a quarter of an hour of play per run

private:
    struct Slot {
        std::unique_ptr<TChildProcess> proc;
        TEditorRun run;
    };
    std::vector<Slot> _slots;
    std::vector<TEditorRun> _queue, _results;
    std::string _file, _runner, _data;
    bool _started = false, _done = false;
    long long _startNs = 0, _endNs = 0;
};
