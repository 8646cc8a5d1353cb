#include "app/Harness.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/Control.h"
#include "app/FrameServices.h"
#include "app/TEkran.h"
#include "app/TMainGame.h"
#include "platform/Backend.h"
#include "platform/Services.h"

namespace {

struct TCommandRule {
    const char* name;
    int numbers;  // numeric arguments expected; -1 = text
};
const TCommandRule kCommands[] = {
    {"wait", 1},           {"move", 2},          {"click", 2},    {"rclick", 2}, {"press", 2},
    {"release", 2},        {"drag", 5},          {"key", 1},      {"type", -1},  {"shot", -1},
    {"expect-screen", -1}, {"expect-state", -1}, {"autoplay", 1}, {"quit", 0},
};
// Frames an autoplay may take without a move before the run gives up.
constexpr int kAutoplayPatience = 60 * 60;

bool parseInt(const std::string& s, int& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long x = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || x < -1000000000L || x > 1000000000L) return false;
    v = static_cast<int>(x);
    return true;
}

struct THarness {
    std::vector<THarnessCommand> script;
    size_t pc = 0;
    std::string shotsDir;
    bool drawAll = false;
    int status = 0;

    // What the command in progress still needs.
    int waitFrames = 0;
    int releaseButton = 0;  // released once the current wait ends
    int keyUp = 0;          // key released after one frame
    bool dragging = false;
    float dragX0 = 0, dragY0 = 0, dragX1 = 0, dragY1 = 0;
    int dragSteps = 0, dragStep = 0;
    int autoplayLeft = 0, autoplayIdle = 0;
    int autoplayLine = 0;
};
THarness* g_h = nullptr;

void fail(int line, const std::string& what) {
    std::fprintf(stderr, "script line %d: %s\n", line, what.c_str());
    g_h->status = 1;
    appExit(1);
}

void pointerTo(float x, float y) {
    MoveMouse(static_cast<int>(x), static_cast<int>(y));
}

// Whether any "shot" follows before the next command that takes frames.
bool shotAhead() {
    for (size_t i = g_h->pc; i < g_h->script.size(); ++i) {
        const std::string& n = g_h->script[i].name;
        if (n == "shot") return true;
        if (n == "wait" || n == "click" || n == "rclick" || n == "drag" || n == "autoplay" || n == "key" ||
            n == "quit")
            return false;
    }
    return false;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// Carries out commands until one needs frames to pass. Returns when the next
// frame should run.
void runCommands() {
    THarness& h = *g_h;
    while (h.pc < h.script.size()) {
        const THarnessCommand& c = h.script[h.pc++];
        const auto& n = c.numbers;
        if (c.name == "wait") {
            if (n[0] > 0) {
                h.waitFrames = n[0];
                return;
            }
        } else if (c.name == "move") {
            pointerTo(static_cast<float>(n[0]), static_cast<float>(n[1]));
        } else if (c.name == "click" || c.name == "rclick") {
            const int b = c.name == "click" ? 1 : 2;
            pointerTo(static_cast<float>(n[0]), static_cast<float>(n[1]));
            InjectMouseButton(b, true);
            h.releaseButton = b;
            h.waitFrames = 1;
            return;
        } else if (c.name == "press") {
            pointerTo(static_cast<float>(n[0]), static_cast<float>(n[1]));
            InjectMouseButton(1, true);
        } else if (c.name == "release") {
            pointerTo(static_cast<float>(n[0]), static_cast<float>(n[1]));
            InjectMouseButton(1, false);
        } else if (c.name == "drag") {
            pointerTo(static_cast<float>(n[0]), static_cast<float>(n[1]));
            InjectMouseButton(1, true);
            h.dragging = true;
            h.dragX0 = static_cast<float>(n[0]);
            h.dragY0 = static_cast<float>(n[1]);
            h.dragX1 = static_cast<float>(n[2]);
            h.dragY1 = static_cast<float>(n[3]);
            h.dragSteps = std::max(1, n[4]);
            h.dragStep = 0;
            h.waitFrames = 1;
            return;
        } else if (c.name == "key") {
            InjectKey(n[0], true);
            if (n[0] == 8 || n[0] == 9 || n[0] == 13 || n[0] == 27) InjectChar(static_cast<uint32_t>(n[0]));
            h.keyUp = n[0];
            h.waitFrames = 1;
            return;
        } else if (c.name == "type") {
            const std::string& text = c.args[0];
            for (size_t i = 0; i < text.size();) InjectChar(NextCodepoint(text, i));
        } else if (c.name == "shot") {
            std::error_code ec;
            std::filesystem::create_directories(h.shotsDir, ec);
            const TLetterbox& box = currentLetterbox();
            ForceDrawing(true);  // the frame is already drawn; grabbing must not be skipped
            TPixmap pix = GrabPixmap(static_cast<int>(box.offsetX + 0.5f),
                                     static_cast<int>(box.offsetY + 0.5f), 1024, 768);
            ForceDrawing(false);
            const std::string path = h.shotsDir + "/" + c.args[0] + ".png";
            if (!SavePixmapPNG(pix, path)) fail(c.line, "cannot write " + path);
        } else if (c.name == "expect-screen") {
            const std::string want = upper(c.args[0]);
            if (upper(Control::currentName) != want)
                fail(c.line, "expected screen " + want + ", the game is at " +
                                 (Control::currentName.empty() ? "(start-up)" : Control::currentName));
        } else if (c.name == "expect-state") {
            if (TEkran::running().empty()) fail(c.line, "expect-state: not available on this screen");
            const std::string got = TEkran::runningState();
            if (got != c.args[0]) fail(c.line, "expected state " + c.args[0] + ", the screen is in " + got);
        } else if (c.name == "autoplay") {
            if (!playScreenTakesAutoplay()) fail(c.line, "autoplay: not available on this screen");
            if (n[0] > 0) {
                h.autoplayLeft = n[0];
                h.autoplayIdle = 0;
                h.autoplayLine = c.line;
                return;
            }
        } else if (c.name == "quit") {
            InjectTerminate();
            return;
        }
    }
}

// Only a frame after which a screenshot is taken needs drawing.
void decideDrawing() {
    THarness& h = *g_h;
    const bool commandsNext = h.waitFrames <= 1 && h.releaseButton == 0 && !h.dragging && h.autoplayLeft == 0;
    Backend().setDrawing(h.drawAll || (commandsNext && shotAhead()));
}

}  // namespace

bool parseHarnessScript(const std::string& text, std::vector<THarnessCommand>& out, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string line = raw;
        const size_t hash = line.find('#');
        std::istringstream words(line.substr(0, hash));
        THarnessCommand c;
        c.line = lineNo;
        if (!(words >> c.name)) continue;
        const TCommandRule* rule = nullptr;
        for (const auto& s : kCommands)
            if (c.name == s.name) rule = &s;
        if (!rule) {
            error = "line " + std::to_string(lineNo) + ": unknown command '" + c.name + "'";
            return false;
        }
        if (rule->numbers < 0) {
            // The rest of the line, as written (a "type" text keeps its spaces and '#').
            std::string rest = c.name == "type" ? raw : line.substr(0, hash);
            const size_t at = rest.find(c.name) + c.name.size();
            rest = at < rest.size() ? rest.substr(at + 1) : "";
            if (c.name != "type") {
                std::istringstream r(rest);
                std::string w, extra;
                r >> w;
                if (w.empty() || (r >> extra)) {
                    error = "line " + std::to_string(lineNo) + ": " + c.name + " takes one name";
                    return false;
                }
                rest = w;
            }
            // A screenshot is a file in the shots folder, never a path out of it.
            if (c.name == "shot" &&
                (rest.size() > 100 || rest == "." || rest == ".." ||
                 rest.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-") !=
                     std::string::npos)) {
                error = "line " + std::to_string(lineNo) + ": shot names a file of the shots folder (letters, digits, . _ -)";
                return false;
            }
            c.args.push_back(rest);
        } else {
            std::string w;
            while (words >> w) {
                int v;
                if (!parseInt(w, v)) {
                    error = "line " + std::to_string(lineNo) + ": bad number '" + w + "'";
                    return false;
                }
                c.numbers.push_back(v);
            }
            if (static_cast<int>(c.numbers.size()) != rule->numbers) {
                error = "line " + std::to_string(lineNo) + ": " + c.name + " takes " +
                        std::to_string(rule->numbers) + " numbers";
                return false;
            }
            if ((c.name == "wait" || c.name == "autoplay") && c.numbers[0] < 0) {
                error = "line " + std::to_string(lineNo) + ": negative count";
                return false;
            }
            if (c.name == "key" && (c.numbers[0] <= 0 || c.numbers[0] > 255)) {
                error = "line " + std::to_string(lineNo) + ": key code out of 1..255";
                return false;
            }
        }
        out.push_back(std::move(c));
    }
    return true;
}

void harnessStart(const std::string& scriptPath, const std::string& shotsDir, bool drawEveryFrame) {
    std::ifstream f(std::filesystem::u8path(scriptPath), std::ios::binary);
    if (!f) {
        std::fprintf(stderr, "script: cannot read %s\n", scriptPath.c_str());
        std::exit(2);
    }
    std::stringstream ss;
    ss << f.rdbuf();
    auto* h = new THarness();
    std::string error;
    if (!parseHarnessScript(ss.str(), h->script, error)) {
        std::fprintf(stderr, "script %s: %s\n", scriptPath.c_str(), error.c_str());
        delete h;
        std::exit(2);
    }
    h->shotsDir = shotsDir.empty() ? "." : shotsDir;
    h->drawAll = drawEveryFrame;
    delete g_h;
    g_h = h;
}

bool harnessActive() {
    return g_h != nullptr;
}

void harnessAfterFrame() {
    if (!g_h) return;
    THarness& h = *g_h;
    if (h.keyUp) {
        InjectKey(h.keyUp, false);
        h.keyUp = 0;
    }
    if (h.dragging) {
        if (h.dragStep < h.dragSteps) {
            ++h.dragStep;
            const float t = static_cast<float>(h.dragStep) / h.dragSteps;
            pointerTo(h.dragX0 + (h.dragX1 - h.dragX0) * t, h.dragY0 + (h.dragY1 - h.dragY0) * t);
            decideDrawing();
            return;
        }
        InjectMouseButton(1, false);
        h.dragging = false;
        h.waitFrames = 1;
        decideDrawing();
        return;
    }
    if (h.autoplayLeft > 0) {
        if (!playScreenTakesAutoplay())
            fail(h.autoplayLine, "autoplay: the play screen was left with moves to go");
        if (++h.autoplayIdle > kAutoplayPatience)
            fail(h.autoplayLine, "autoplay: no move for a minute of play");
        decideDrawing();
        return;
    }
    if (h.waitFrames > 0 && --h.waitFrames > 0) {
        decideDrawing();
        return;
    }
    if (h.releaseButton) {
        InjectMouseButton(h.releaseButton, false);
        h.releaseButton = 0;
        h.waitFrames = 1;
        decideDrawing();
        return;
    }
    runCommands();
    if (h.pc >= h.script.size() && h.waitFrames == 0 && h.autoplayLeft == 0 && !h.dragging && h.keyUp == 0 &&
        h.releaseButton == 0 && !AppTerminate()) {
        // Script done: end as the close button would.
        InjectTerminate();
    }
    decideDrawing();
}

int harnessExitStatus() {
    return g_h ? g_h->status : 0;
}

int harnessFinish() {
    if (!g_h) return 0;
    for (size_t i = g_h->pc; i < g_h->script.size(); ++i) {
        const THarnessCommand& c = g_h->script[i];
        if (c.name.rfind("expect-", 0) == 0) {
            std::fprintf(stderr, "script line %d: never reached (the game ended first)\n", c.line);
            g_h->status = 1;
        }
    }
    return g_h->status;
}

bool HarnessAutoplayWanted() {
    return g_h && g_h->autoplayLeft > 0;
}

void HarnessAutoplayMoveMade() {
    if (!g_h || g_h->autoplayLeft <= 0) return;
    --g_h->autoplayLeft;
    g_h->autoplayIdle = 0;
}
