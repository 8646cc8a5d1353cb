#include "editor/TEditorCheck.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/Files.h"
#include "platform/SystemPaths.h"

namespace {
long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool field(const std::string& line, const std::string& key, std::string& value) {
    const std::string k = "\"" + key + "\":";
    const size_t at = line.find(k);
    if (at == std::string::npos) return false;
    size_t i = at + k.size();
    if (i < line.size() && line[i] == '"') {
        const size_t end = line.find('"', i + 1);
        if (end == std::string::npos) return false;
        value = line.substr(i + 1, end - i - 1);
        return true;
    }
    size_t j = i;
    while (j < line.size() && (std::isdigit(static_cast<unsigned char>(line[j])) || line[j] == '-')) ++j;
    if (j == i) return false;
    value = line.substr(i, j - i);
    return true;
}

int median(std::vector<int> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
}  // namespace

bool parseLevelRun(const std::string& line, TEditorRun& run) {
    std::string outcome, moves, frames, start;
    if (!field(line, "outcome", outcome) || !field(line, "moves", moves) || !field(line, "frames", frames))
        return false;
    run.outcome = outcome;
    run.moves = std::atoi(moves.c_str());
    run.frames = std::atoi(frames.c_str());
    run.startMove = !field(line, "startMove", start) || start != "0";
    return true;
}

TEditorCheckSummary summariseRuns(const std::vector<TEditorRun>& runs) {
    TEditorCheckSummary s;
    for (int m = 0; m < 2; ++m) {
        std::vector<int> wonMoves, wonFrames, allMoves, allFrames;
        for (const auto& r : runs) {
            if (r.timed != (m == 1)) continue;
            if (r.outcome == "error") continue;
            ++s.runs[m];
            allMoves.push_back(r.moves);
            allFrames.push_back(r.frames);
            if (r.outcome == "won") {
                ++s.won[m];
                wonMoves.push_back(r.moves);
                wonFrames.push_back(r.frames);
            }
        }
        const bool anyWon = !wonMoves.empty();
        s.medianMoves[m] = median(anyWon ? wonMoves : allMoves);
        s.medianSeconds[m] = static_cast<float>(median(anyWon ? wonFrames : allFrames)) / 60.0f;
    }
    for (const auto& r : runs) {
        if (r.outcome == "error")
            ++s.errors;
        else if (!r.startMove)
            ++s.noStartMove;
    }
    if (s.errors > 0)
        s.warnings.push_back(std::to_string(s.errors) + " runs failed: the runner refused the level.");
    if (s.runs[0] + s.runs[1] > 0 && s.won[0] + s.won[1] == 0)
        s.warnings.push_back("The level was not won on any seed.");
    else {
        if (s.runs[0] > 0 && s.won[0] == 0) s.warnings.push_back("Relaxed: not won on any seed.");
        if (s.runs[1] > 0 && s.won[1] == 0) s.warnings.push_back("Timed: not won on any seed.");
    }
    if (s.noStartMove > 0)
        s.warnings.push_back("The board started without a possible move on " + std::to_string(s.noStartMove) +
                             " of " + std::to_string(s.runs[0] + s.runs[1]) + " runs.");
    return s;
}

std::string TEditorCheck::runnerPath() {
    if (const char* e = std::getenv("BRIMBLE_LEVELRUN"); e && *e) return e;
    const std::string exe = ExecutablePath();
    const std::string name = ProgramFileName("levelrun");
    if (exe.empty()) return name;
    const auto bin = std::filesystem::u8path(exe).parent_path();
    // Beside the game in a build; the installed game keeps it in
    // PREFIX/libexec/brimble/, out of the players' command search path.
    const auto installed = bin.parent_path() / "libexec" / "brimble" / name;
    std::error_code ec;
    if (!std::filesystem::exists(bin / name, ec) && std::filesystem::exists(installed, ec)) return installed.u8string();
    return (bin / name).u8string();
}

bool TEditorCheck::start(const std::string& levelFile, std::string& why) {
    cancel();
    _runner = runnerPath();
    if (FileType(_runner) != 1) {
        why = "The level runner " + _runner + " is missing: build it (levelrun) to check levels.";
        return false;
    }
    _file = RealPath(levelFile);
    _data = CurrentDir();
    _results.clear();
    _queue.clear();
    for (int timed = 0; timed < 2; ++timed)
        for (int seed = 1; seed <= kSeeds; ++seed) {
            TEditorRun r;
            r.seed = seed;
            r.timed = timed == 1;
            _queue.push_back(r);
        }
    std::reverse(_queue.begin(), _queue.end());  // taken from the back
    _slots.clear();
    _slots.resize(kParallel);
    _started = true;
    _done = false;
    _startNs = nowNs();
    _endNs = 0;
    poll();
    return true;
}

void TEditorCheck::poll() {
    if (!_started || _done) return;
    for (auto& s : _slots) {
        if (s.proc) {
            if (!s.proc->poll()) continue;
            TEditorRun r = s.run;
            const std::string& out = s.proc->output();
            const size_t nl = out.find('\n');
            if (!parseLevelRun(out.substr(0, nl), r)) r.outcome = "error";
            _results.push_back(r);
            s.proc.reset();
        }
        if (!_queue.empty()) {
            s.run = _queue.back();
            _queue.pop_back();
            std::vector<std::string> argv{_runner,        _file,
                                          "--seed",       std::to_string(s.run.seed),
                                          "--max-frames", std::to_string(maxFrames),
                                          "--data",       _data};
            if (s.run.timed) argv.push_back("--timed");
            s.proc = std::make_unique<TChildProcess>();
            if (!s.proc->start(argv)) {
                TEditorRun r = s.run;
                r.outcome = "error";
                _results.push_back(r);
                s.proc.reset();
            }
        }
    }
    bool anyRunning = false;
    for (auto& s : _slots) anyRunning = anyRunning || s.proc;
    if (!anyRunning && _queue.empty()) {
        _done = true;
        _endNs = nowNs();
    }
}

void TEditorCheck::cancel() {
    for (auto& s : _slots) s.proc.reset();
    _slots.clear();
    _queue.clear();
    if (_started && !_done) _endNs = nowNs();
    _started = false;
    _done = false;
}

int TEditorCheck::elapsedMs() const {
    if (!_started && _endNs == 0) return 0;
    const long long end = _endNs ? _endNs : nowNs();
    return static_cast<int>((end - _startNs) / 1000000);
}
