#include <cstdio>
#include <cstdlib>

#include "Store.h"

namespace storesql {

const std::vector<Column>& columns() {
    static const std::vector<Column> c = [] {
        std::vector<Column> v = {{"received_at", 't'},
                                 {"remote_addr", 't'},
                                 {"run_key", 't'},
                                 {"content_hash", 't'},
                                 {"version", 't'},
                                 {"player", 't'},
                                 {"record_id", 'i'},
                                 {"level", 'i'},
                                 {"stage", 'i'},
                                 {"outcome", 'i'},
                                 {"level_time", 'i'},
                                 {"continued", 'i'},
                                 {"score", 'i'},
                                 {"match_type", 't'},
                                 {"puzzles_at_level", 'i'},
                                 {"available_chips", 't'},
                                 {"chips_count", 'i'},
                                 {"tiles_to_break", 'i'},
                                 {"last_tile_break_time", 'i'},
                                 {"biggest_match", 'i'},
                                 {"matches", 'i'},
                                 {"match4", 'i'},
                                 {"match5", 'i'},
                                 {"match6", 'i'},
                                 {"match6_or_more", 'i'}};
        static const char* pu[] = {"power_up_1", "power_up_2", "power_up_3", "power_up_4", "power_up_5",
                                   "power_up_6", "power_up_7", "power_up_8", "power_up_9", "power_up_10"};
        for (const char* p : pu) v.push_back({p, 'i'});
        v.push_back({"pickup_times", 't'});
        static const char* bu[] = {"bonus_1_usage", "bonus_2_usage", "bonus_3_usage",
                                   "bonus_4_usage", "bonus_5_usage", "bonus_6_usage"};
        for (const char* b : bu) v.push_back({b, 'i'});
        v.push_back({"avg_chain", 'r'});
        return v;
    }();
    return c;
}

std::vector<std::string> values(const PlayRecord& r) {
    const auto n = [](int64_t x) { return std::to_string(x); };
    char chain[40];
    std::snprintf(chain, sizeof chain, "%.17g", r.avgChain);
    std::vector<std::string> v = {r.receivedAt,
                                  r.remoteAddr,
                                  r.runKey,
                                  r.contentHash,
                                  r.version,
                                  r.player,
                                  n(r.recordId),
                                  n(r.level),
                                  n(r.stage),
                                  n(r.outcome),
                                  n(r.levelTime),
                                  n(r.continued),
                                  n(r.score),
                                  r.matchType,
                                  n(r.puzzlesAtLevel),
                                  r.availableChips,
                                  n(r.chipsCount),
                                  n(r.tilesToBreak),
                                  n(r.lastTileBreakTime),
                                  n(r.biggestMatch),
                                  n(r.matches),
                                  n(r.match4),
                                  n(r.match5),
                                  n(r.match6),
                                  n(r.match6OrMore)};
    for (int64_t p : r.powerUps) v.push_back(n(p));
    v.push_back(r.pickupTimesText());
    for (int64_t b : r.bonusUsage) v.push_back(n(b));
    v.push_back(chain);
    return v;
}

bool fromValues(const std::vector<std::string>& v, PlayRecord& r) {
    if (v.size() != columns().size()) return false;
    size_t i = 0;
    bool ok = true;
    const auto text = [&]() -> const std::string& { return v[i++]; };
    const auto num = [&]() -> int64_t {
        const std::string& s = v[i++];
        char* end = nullptr;
        const long long x = std::strtoll(s.c_str(), &end, 10);
        if (s.empty() || *end) ok = false;
        return x;
    };
    r.receivedAt = text();
    r.remoteAddr = text();
    r.runKey = text();
    r.contentHash = text();
    r.version = text();
    r.player = text();
    r.recordId = num();
    r.level = num();
    r.stage = num();
    r.outcome = num();
    r.levelTime = num();
    r.continued = num();
    r.score = num();
    r.matchType = text();
    r.puzzlesAtLevel = num();
    r.availableChips = text();
    r.chipsCount = num();
    r.tilesToBreak = num();
    r.lastTileBreakTime = num();
    r.biggestMatch = num();
    r.matches = num();
    r.match4 = num();
    r.match5 = num();
    r.match6 = num();
    r.match6OrMore = num();
    for (auto& p : r.powerUps) p = num();
    if (!r.setPickupTimesText(text())) ok = false;
    for (auto& b : r.bonusUsage) b = num();
    r.avgChain = std::strtod(v[i++].c_str(), nullptr);
    return ok;
}

int latestVersion() {
    return 2;
}

std::vector<std::string> migration(Dialect d, int n) {
    const bool pg = d == Dialect::Postgres;
    if (n == 1) {
        std::string t = std::string("CREATE TABLE records (row_id ") +
                        (pg ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT");
        for (const Column& c : columns()) {
            t += ", ";
            t += c.name;
            t += c.type == 'i'   ? (pg ? " BIGINT NOT NULL" : " INTEGER NOT NULL")
                 : c.type == 'r' ? (pg ? " DOUBLE PRECISION NOT NULL" : " REAL NOT NULL")
                                 : " TEXT NOT NULL";
        }
        t += ")";
        return {t};
    }
    if (n == 2) {
        // Version 1 kept repeated uploads of a record; version 2 keeps each
        // record once (the earliest copy) and refuses the repeats.
        return {
            "DELETE FROM records WHERE row_id NOT IN (SELECT MIN(row_id) FROM records GROUP BY player, "
            "run_key, "
            "record_id, content_hash)",
            "CREATE UNIQUE INDEX records_once ON records (player, run_key, record_id, content_hash)",
            "CREATE INDEX records_level ON records (level)",
            "CREATE INDEX records_received ON records (received_at)"};
    }
    return {};
}

std::string insertSql(Dialect d) {
    std::string names, params;
    int k = 1;
    for (const Column& c : columns()) {
        if (!names.empty()) {
            names += ", ";
            params += ", ";
        }
        names += c.name;
        params += d == Dialect::Postgres ? "$" + std::to_string(k++) : "?";
    }
    return "INSERT INTO records (" + names + ") VALUES (" + params + ") ON CONFLICT DO NOTHING";
}

std::string selectSql(Dialect d) {
    std::string names;
    for (const Column& c : columns()) names += std::string(names.empty() ? "" : ", ") + c.name;
    const bool pg = d == Dialect::Postgres;
    return "SELECT " + names + " FROM records WHERE (" + (pg ? "$1" : "?1") +
           " = '' OR version = " + (pg ? "$1" : "?1") + ") AND (" + (pg ? "$2" : "?2") +
           " = '' OR received_at >= " + (pg ? "$2" : "?2") + ") AND (" + (pg ? "$3" : "?3") +
           " = '' OR received_at <= " + (pg ? "$3" : "?3") + ") ORDER BY row_id";
}

std::string dayStart(const std::string& day) {
    return day.empty() ? "" : day + "T00:00:00Z";
}
std::string dayEnd(const std::string& day) {
    return day.empty() ? "" : day + "T23:59:59Z";
}

}  // namespace storesql

std::unique_ptr<Store> makeStore(const std::string& target) {
    if (target.rfind("postgresql://", 0) == 0 || target.rfind("postgres://", 0) == 0)
        return makePostgresStore(target);
    return makeSqliteStore(target);
}
