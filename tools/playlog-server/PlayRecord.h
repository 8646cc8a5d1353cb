// One round as the collector stores it, read and checked from the fields of
// a play-log upload. An upload carries every record of the game's run so far,
// each beginning with its "version" field; the collector keeps them all and
// recognises the ones it already has.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct FormField {
    std::string name;
    std::string value;
    bool isFile = false;
};

struct PlayRecord {
    std::string version, player;
    int64_t recordId = 0;
    int64_t level = 0, stage = 0, outcome = 0;
    int64_t levelTime = 0;  // seconds
    int64_t continued = 0, score = 0;
    std::string matchType;
    int64_t puzzlesAtLevel = 0;
    std::string availableChips;
    int64_t chipsCount = 0, tilesToBreak = 0;
    int64_t lastTileBreakTime = 0;  // seconds
    int64_t biggestMatch = 0, matches = 0, match4 = 0, match5 = 0, match6 = 0, match6OrMore = 0;
    std::array<int64_t, 10> powerUps{};
    std::vector<int64_t> pickupTimes;  // seconds
    std::array<int64_t, 6> bonusUsage{};
    double avgChain = -1;

    // Set by the collector.
    std::string receivedAt;  // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    std::string remoteAddr;
    std::string runKey;       // the same for every record of one run of the game
    std::string contentHash;  // the record's own fields

    std::string pickupTimesText() const;  // "5,61"
    bool setPickupTimesText(const std::string& s);
    int64_t powerUpsUsed() const;  // sum of bonusUsage
};

// The fields of a multipart/form-data body, in order; false with a reason
// when the body is not one (no boundary, a part without a name, no closing
// delimiter, a value over 4096 bytes or more than 200000 fields).
bool parseMultipart(const std::string& contentType, const std::string& body, std::vector<FormField>& out,
                    std::string& error);

// Splits the fields into records at each "version" field and checks every
// field of every record (names, types, ranges, lengths). False with a reason
// for the first problem found; nothing is returned then.
bool recordsFromFields(const std::vector<FormField>& fields, std::vector<PlayRecord>& out,
                       std::string& error);

// "m:ss" to seconds (-1 when malformed) and back.
int64_t secondsFromClock(const std::string& s);
std::string clockFromSeconds(int64_t s);

// The length of the well-formed UTF-8 sequence at s[i] (no overlong forms,
// no surrogates, nothing past U+10FFFF), or 0 when there is none.
size_t utf8SequenceLength(const std::string& s, size_t i);

// 64-bit FNV-1a as 16 hex digits.
std::string hashHex(const std::string& s);
