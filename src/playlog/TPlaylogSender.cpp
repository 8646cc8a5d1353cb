#include "playlog/TPlaylogSender.h"

#include <cstdio>
#include <sstream>

#include "playlog/PlayLogGlobals.h"

int TPlaylogSender::init(const std::string& script, const std::string& host, const std::string& ref) {
    target_script = script;
    target_host = host;
    referer = ref;
    http_post = std::make_shared<tsendhttp>();
    return 0;
}

int TPlaylogSender::sendToServer() {
    if (!http_post) http_post = std::make_shared<tsendhttp>();
    http_post->send(target_host, target_port, target_script);
    return 1;
}

int TPlaylogSender::saveVar(const std::string& name, const std::string& value) {
    if (!http_post) http_post = std::make_shared<tsendhttp>();
    http_post->addinput(name, value);
    return 0;
}

std::string TPlaylogSender::returnTime(int s) {
    if (s < 0) s = 0;
    const int sec = s % 60;
    return std::to_string(s / 60) + ":" + (sec < 10 ? "0" : "") + std::to_string(sec);
}

namespace {

// Items of a text split at single spaces ("1 2 3" has three); none in "".
int countItems(const std::string& s) {
    if (s.empty()) return 0;
    int n = 1;
    for (char c : s)
        if (c == ' ') ++n;
    return n;
}

std::string decimal(float f) {
    std::ostringstream o;
    o.imbue(std::locale::classic());
    o << f;
    return o.str();
}

int toIntOr0(const std::string& s) {
    try {
        return std::stoi(s);
    } catch (...) {
        return 0;
    }
}

}  // namespace

int TPlaylogSender::saveLevel(const TPlayLog& r) {
    const auto num = [](int v) { return std::to_string(v); };
    saveVar("version", "v1.0");
    saveVar("playerName", playerName ? playerName() : std::string());
    saveVar("id", num(r.id));
    saveVar("nrLevelu", num(r.nrLevelu));
    saveVar("nrStageu", num(r.nrStageu));
    saveVar("zaliczony", num(r.zaliczony));
    saveVar("levelTime", num(r.levelTime));
    saveVar("levelTimeMS", returnTime(r.levelTime));
    saveVar("byloContinue", num(r.byloContinue));
    saveVar("score", num(r.score));
    saveVar("matchType", r.matchType);
    saveVar("puzzlesAtLevel", num(r.puzzlesAtLevel));
    saveVar("availableChips", r.availableChips);
    saveVar("chipsCount", num(countItems(r.availableChips)));
    saveVar("tilesToBrake", num(r.tilesToBrake));
    saveVar("lastTileBrakeTime", returnTime(r.lastTileBrakeTime));
    saveVar("biggestMatch", num(r.biggestmatch));
    saveVar("iloscMatch3", num(r.iloscMatchy));
    saveVar("match4", num(r.match4));
    saveVar("match5", num(r.match5));
    saveVar("match6", num(r.match6));
    saveVar("match6orMore", num(r.matchMore));
    for (size_t i = 0; i < r.powerUps.size(); ++i)
        saveVar("powerUp" + num(static_cast<int>(i) + 1), num(r.powerUps[i]));
    int n = 1;
    for (const std::string& t : r.puzzleChipsPickUptimes)
        saveVar("puzzlePickUpTime_" + num(n++), returnTime(toIntOr0(t)));
    for (size_t i = 0; i < r.howManyBonus.size(); ++i)
        saveVar("bonus" + num(static_cast<int>(i) + 1) + "_usage", num(r.howManyBonus[i]));
    saveVar("avgChain", decimal(r.sredniChain));
    return 0;
}

int TPlaylogSender::sendLog() {
    const int64_t now = netClockMs();
    if (_sentBefore && now - lastSendTime < 5000) return 0;
    _sentBefore = true;
    lastSendTime = now;
    lastSent = 0;
    lastReport.clear();
    if (!http_post) http_post = std::make_shared<tsendhttp>();
    // Whatever the server does, the program's end waits no longer than this.
    http_post->deadlineMs = now + sendBudgetMs;
    // Every request carries all the records before it, so once half the
    // budget is gone the requests in between are left out and the last one,
    // which carries every record, gets the rest of the time.
    const int64_t half = now + sendBudgetMs / 2;
    std::string firstError;
    const size_t n = playLogs.size();
    for (size_t i = 0; i < n; ++i) {
        if (!playLogs[i]) continue;
        saveLevel(*playLogs[i]);
        const bool final = i + 1 == n;
        if (!final && netClockMs() >= half) continue;  // its fields go with the last request
        if (netClockMs() >= http_post->deadlineMs) {
            if (firstError.empty()) firstError = "out of time";
            continue;
        }
        sendToServer();
        if (http_post->lastAnswerOk) {
            lastSent = static_cast<int>(i) + 1;
        } else if (firstError.empty()) {
            firstError = http_post->lastError;
        }
    }
    if (lastSent < static_cast<int>(playLogs.size())) {
        lastReport = "Play log: " + std::to_string(lastSent) + " of " + std::to_string(n) +
                     " records reached " + target_host + ":" + std::to_string(target_port) + " (" +
                     firstError + ")";
        std::fprintf(stderr, "%s\n", lastReport.c_str());
    }
    return 0;
}
