// Records for the collector's tests.
#pragma once

#include <string>

#include "PlayRecord.h"

inline PlayRecord testRecord(const std::string& player, int64_t id, int64_t level, int64_t outcome,
                             int64_t time, const std::string& run = "run1") {
    PlayRecord r;
    r.version = "v1.0";
    r.player = player;
    r.recordId = id;
    r.level = level;
    r.stage = 1;
    r.outcome = outcome;
    r.levelTime = time;
    r.score = 100 * id;
    r.matchType = "SWAP";
    r.availableChips = "1 2 3";
    r.chipsCount = 3;
    r.matches = 10;
    r.biggestMatch = 4;
    r.avgChain = 3.5;
    r.receivedAt = "2026-12-10T10:00:00Z";
    r.remoteAddr = "127.0.0.1";
    r.runKey = run;
    r.contentHash = hashHex(player + run + std::to_string(id) + std::to_string(level));
    return r;
}
