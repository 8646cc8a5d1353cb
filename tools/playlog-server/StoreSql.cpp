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
    return 3;
}

int64_t medianBin(int64_t v, int figures) {
    if (v < 1000) return v;
    int64_t top = 1;
    for (int i = 0; i < figures; ++i) top *= 10;
    int64_t step = 1;
    while (v / step >= top) step *= 10;
    return v / step * step;
}

std::string medianBinSql(const std::string& e, int figures) {
    // The same steps as medianBin, up to the largest value a record may hold.
    std::string s = "(CASE WHEN " + e + " < 1000 THEN " + e;
    int64_t top = 1;
    for (int i = 0; i < figures; ++i) top *= 10;
    int64_t step = 1;
    while (1000 / step >= top) step *= 10;
    for (int64_t limit = top * step; limit <= 1000000000000000000LL / 10; limit *= 10, step *= 10)
        if (limit > 1000)
            s += " WHEN " + e + " < " + std::to_string(limit) + " THEN " + e + " / " + std::to_string(step) + " * " +
                 std::to_string(step);
    return s + " ELSE " + e + " END)";
}

namespace {

std::string sqlMax(Dialect d, const std::string& a, const std::string& b) {
    return (d == Dialect::Postgres ? "GREATEST(" : "MAX(") + a + ", " + b + ")";
}
std::string sqlMin(Dialect d, const std::string& a, const std::string& b) {
    return (d == Dialect::Postgres ? "LEAST(" : "MIN(") + a + ", " + b + ")";
}

// The figures one record adds, over a row source whose columns are named
// with the prefix p ("NEW." in a trigger, "" over the records table).
std::string won(const std::string& p) {
    return "CASE WHEN " + p + "outcome = 1 THEN 1 ELSE 0 END";
}
std::string lost(const std::string& p) {
    return "CASE WHEN " + p + "outcome = 0 THEN 1 ELSE 0 END";
}
std::string leftPlay(const std::string& p) {
    return "CASE WHEN " + p + "outcome < 0 THEN 1 ELSE 0 END";
}
std::string powerUps(const std::string& p) {
    std::string s = "(";
    for (int i = 1; i <= 6; ++i) s += (i > 1 ? " + " : "") + p + "bonus_" + std::to_string(i) + "_usage";
    return s + ")";
}
std::string pieces(const std::string& p) {
    return "(CASE WHEN " + p + "pickup_times = '' THEN 0 ELSE LENGTH(" + p + "pickup_times) - LENGTH(REPLACE(" + p +
           "pickup_times, ',', '')) + 1 END)";
}
std::string wonLevel(const std::string& p) {
    return "CASE WHEN " + p + "outcome = 1 THEN " + p + "level ELSE 0 END";
}

// The median metrics: t time played, w time played in a won round, s score,
// m matches.
struct Metric {
    const char* id;
    const char* column;
    bool winsOnly;
    int figures;  // significant figures counted from 1000 up
};
const Metric kMetrics[] = {{"t", "level_time", false, 3},
                           {"w", "level_time", true, 3},
                           {"s", "score", false, 2},
                           {"m", "matches", false, 3}};

const char* kTotalsTables[] = {
    "CREATE TABLE level_totals (version TEXT NOT NULL, level BIGINT NOT NULL, plays BIGINT NOT NULL, "
    "wins BIGINT NOT NULL, losses BIGINT NOT NULL, left_plays BIGINT NOT NULL, power_ups BIGINT NOT NULL, "
    "pieces BIGINT NOT NULL, biggest BIGINT NOT NULL, PRIMARY KEY (version, level))",
    "CREATE TABLE level_values (version TEXT NOT NULL, level BIGINT NOT NULL, metric TEXT NOT NULL, "
    "value BIGINT NOT NULL, n BIGINT NOT NULL, PRIMARY KEY (version, level, metric, value))",
    "CREATE TABLE level_values_all (level BIGINT NOT NULL, metric TEXT NOT NULL, value BIGINT NOT NULL, "
    "n BIGINT NOT NULL, PRIMARY KEY (level, metric, value))",
    "CREATE TABLE player_totals (version TEXT NOT NULL, player TEXT NOT NULL, rounds BIGINT NOT NULL, "
    "wins BIGINT NOT NULL, runs BIGINT NOT NULL, highest_played BIGINT NOT NULL, highest_won BIGINT NOT NULL, "
    "first_seen TEXT NOT NULL, last_seen TEXT NOT NULL, PRIMARY KEY (version, player))",
    "CREATE TABLE player_runs (version TEXT NOT NULL, player TEXT NOT NULL, run_key TEXT NOT NULL, "
    "PRIMARY KEY (version, player, run_key))"};

// What one stored record adds to the totals (the body of the trigger).
std::vector<std::string> recordTotals(Dialect d) {
    const std::string p = "NEW.";
    std::vector<std::string> s;
    s.push_back("INSERT INTO level_totals (version, level, plays, wins, losses, left_plays, power_ups, pieces, "
                "biggest) VALUES (NEW.version, NEW.level, 1, " +
                won(p) + ", " + lost(p) + ", " + leftPlay(p) + ", " + powerUps(p) + ", " + pieces(p) +
                ", NEW.biggest_match) ON CONFLICT (version, level) DO UPDATE SET plays = level_totals.plays + 1, "
                "wins = level_totals.wins + excluded.wins, losses = level_totals.losses + excluded.losses, "
                "left_plays = level_totals.left_plays + excluded.left_plays, power_ups = level_totals.power_ups + "
                "excluded.power_ups, pieces = level_totals.pieces + excluded.pieces, biggest = " +
                sqlMax(d, "level_totals.biggest", "excluded.biggest"));
    for (const Metric& m : kMetrics) {
        const std::string bin = medianBinSql(p + m.column, m.figures);
        const std::string when = m.winsOnly ? "NEW.outcome = 1" : "1 = 1";
        s.push_back(std::string("INSERT INTO level_values (version, level, metric, value, n) SELECT NEW.version, "
                                "NEW.level, '") +
                    m.id + "', " + bin + ", 1 WHERE " + when +
                    " ON CONFLICT (version, level, metric, value) DO UPDATE SET n = level_values.n + 1");
        // The same over every version, which the unfiltered page reads.
        s.push_back(std::string("INSERT INTO level_values_all (level, metric, value, n) SELECT NEW.level, '") + m.id +
                    "', " + bin + ", 1 WHERE " + when +
                    " ON CONFLICT (level, metric, value) DO UPDATE SET n = level_values_all.n + 1");
    }
    s.push_back("INSERT INTO player_totals (version, player, rounds, wins, runs, highest_played, highest_won, "
                "first_seen, last_seen) VALUES (NEW.version, NEW.player, 1, " +
                won(p) + ", 0, NEW.level, " + wonLevel(p) +
                ", NEW.received_at, NEW.received_at) ON CONFLICT (version, player) DO UPDATE SET rounds = "
                "player_totals.rounds + 1, wins = player_totals.wins + excluded.wins, highest_played = " +
                sqlMax(d, "player_totals.highest_played", "excluded.highest_played") +
                ", highest_won = " + sqlMax(d, "player_totals.highest_won", "excluded.highest_won") +
                ", first_seen = " + sqlMin(d, "player_totals.first_seen", "excluded.first_seen") +
                ", last_seen = " + sqlMax(d, "player_totals.last_seen", "excluded.last_seen"));
    // A new run of the player counts once (the trigger on player_runs).
    s.push_back("INSERT INTO player_runs (version, player, run_key) VALUES (NEW.version, NEW.player, NEW.run_key) "
                "ON CONFLICT (version, player, run_key) DO NOTHING");
    return s;
}

const char* kRunCounted =
    "UPDATE player_totals SET runs = runs + 1 WHERE version = NEW.version AND player = NEW.player";

}  // namespace

std::vector<std::string> rebuildTotals(Dialect) {
    const std::string p;
    std::vector<std::string> s = {"DELETE FROM level_totals", "DELETE FROM level_values", "DELETE FROM level_values_all",
                                  "DELETE FROM player_totals", "DELETE FROM player_runs"};
    s.push_back("INSERT INTO level_totals (version, level, plays, wins, losses, left_plays, power_ups, pieces, "
                "biggest) SELECT version, level, COUNT(*), SUM(" +
                won(p) + "), SUM(" + lost(p) + "), SUM(" + leftPlay(p) + "), SUM(" + powerUps(p) + "), SUM(" +
                pieces(p) + "), MAX(biggest_match) FROM records GROUP BY version, level");
    for (const Metric& m : kMetrics)
        s.push_back(std::string("INSERT INTO level_values (version, level, metric, value, n) SELECT version, level, '") +
                    m.id + "', " + medianBinSql(m.column, m.figures) + ", COUNT(*) FROM records" +
                    (m.winsOnly ? " WHERE outcome = 1" : "") + " GROUP BY 1, 2, 3, 4");
    s.push_back("INSERT INTO level_values_all (level, metric, value, n) SELECT level, metric, value, SUM(n) FROM "
                "level_values GROUP BY 1, 2, 3");
    // Runs first: their trigger finds no player rows yet and changes nothing.
    s.push_back("INSERT INTO player_runs (version, player, run_key) SELECT DISTINCT version, player, run_key FROM "
                "records");
    s.push_back("INSERT INTO player_totals (version, player, rounds, wins, runs, highest_played, highest_won, "
                "first_seen, last_seen) SELECT version, player, COUNT(*), SUM(" +
                won(p) + "), 0, MAX(level), MAX(" + wonLevel(p) +
                "), MIN(received_at), MAX(received_at) FROM records GROUP BY version, player");
    s.push_back("UPDATE player_totals SET runs = (SELECT COUNT(*) FROM player_runs r WHERE r.version = "
                "player_totals.version AND r.player = player_totals.player)");
    return s;
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
    if (n == 3) {
        // Running totals kept by the database itself as records arrive, so
        // the dashboard reads a few thousand rows however many records there
        // are, and every collector writing the database keeps them right.
        std::vector<std::string> s(std::begin(kTotalsTables), std::end(kTotalsTables));
        const auto body = recordTotals(d);
        if (pg) {
            std::string f = "CREATE FUNCTION records_totals() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN ";
            for (const std::string& b : body) f += b + "; ";
            f += "RETURN NULL; END $$";
            s.push_back(f);
            s.push_back("CREATE TRIGGER records_totals AFTER INSERT ON records FOR EACH ROW EXECUTE FUNCTION "
                        "records_totals()");
            s.push_back(std::string("CREATE FUNCTION run_counted() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN ") +
                        kRunCounted + "; RETURN NULL; END $$");
            s.push_back("CREATE TRIGGER run_counted AFTER INSERT ON player_runs FOR EACH ROW EXECUTE FUNCTION "
                        "run_counted()");
        } else {
            std::string t = "CREATE TRIGGER records_totals AFTER INSERT ON records BEGIN ";
            for (const std::string& b : body) t += b + "; ";
            s.push_back(t + "END");
            s.push_back(std::string("CREATE TRIGGER run_counted AFTER INSERT ON player_runs BEGIN ") + kRunCounted +
                        "; END");
        }
        for (const std::string& r : rebuildTotals(d)) s.push_back(r);
        return s;
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

std::string selectSql() {
    std::string names;
    for (const Column& c : columns()) names += std::string(names.empty() ? "" : ", ") + c.name;
    return "SELECT " + names +
           " FROM records WHERE ($1 = '' OR version = $1) AND ($2 = '' OR received_at >= $2) AND ($3 = '' OR "
           "received_at <= $3) ORDER BY row_id";
}

std::vector<std::string> filterParams(const RecordFilter& f) {
    return {f.version, dayStart(f.from), dayEnd(f.to)};
}

std::string dayStart(const std::string& day) {
    return day.empty() ? "" : day + "T00:00:00Z";
}
std::string dayEnd(const std::string& day) {
    return day.empty() ? "" : day + "T23:59:59Z";
}

namespace {

const char* kVersionIs = "($1 = '' OR version = $1)";
const char* kRecordsMatch =
    "($1 = '' OR version = $1) AND ($2 = '' OR received_at >= $2) AND ($3 = '' OR received_at <= $3)";

// The (level, metric, value, n) rows the medians are counted from: the
// totals over every version, one version's, or the chosen days' records.
std::string valueRows(bool dated, bool anyVersion) {
    if (!dated && anyVersion) return "SELECT level, metric, value, n FROM level_values_all";
    if (!dated) return "SELECT level, metric, value, n FROM level_values WHERE version = $1";
    std::string s;
    for (const Metric& m : kMetrics) {
        if (!s.empty()) s += " UNION ALL ";
        s += std::string("SELECT level, '") + m.id + "' AS metric, " + medianBinSql(m.column, m.figures) +
             " AS value, 1 AS n FROM records WHERE " + kRecordsMatch + (m.winsOnly ? " AND outcome = 1" : "");
    }
    return s;
}

}  // namespace

std::string levelFiguresSql(bool dated) {
    const std::string p;
    if (!dated)
        return std::string("SELECT level, SUM(plays), SUM(wins), SUM(losses), SUM(left_plays), SUM(power_ups), "
                           "SUM(pieces), MAX(biggest) FROM level_totals WHERE ") +
               kVersionIs + " GROUP BY level ORDER BY level";
    return "SELECT level, COUNT(*), SUM(" + won(p) + "), SUM(" + lost(p) + "), SUM(" + leftPlay(p) + "), SUM(" +
           powerUps(p) + "), SUM(" + pieces(p) + "), MAX(biggest_match) FROM records WHERE " + kRecordsMatch +
           " GROUP BY level ORDER BY level";
}

std::string mediansSql(bool dated, bool anyVersion) {
    // Element k (from 1) of a sorted list is the smallest value whose running
    // count reaches k; the median is the mean of elements (n+1)/2 and n/2+1.
    // The totals hold one row per value already (read in their key's order);
    // the records of chosen days are counted into such rows first.
    const std::string rows = dated ? "SELECT level, metric, value, SUM(n) AS n FROM (" + valueRows(dated, anyVersion) +
                                         ") src GROUP BY level, metric, value"
                                   : valueRows(dated, anyVersion);
    return "WITH c AS (SELECT level, metric, value, CAST(SUM(n) OVER (PARTITION BY level, metric ORDER BY value ROWS "
           "BETWEEN UNBOUNDED PRECEDING AND CURRENT ROW) AS BIGINT) AS cum, CAST(SUM(n) OVER (PARTITION BY level, "
           "metric) AS BIGINT) AS tot FROM (" +
           rows +
           ") h) SELECT level, metric, MIN(CASE WHEN cum >= (tot + 1) / 2 THEN value END), MIN(CASE WHEN cum >= tot / "
           "2 + 1 THEN value END) FROM c GROUP BY level, metric";
}

std::string timeCountsSql(bool dated, bool anyVersion) {
    return "SELECT value, SUM(n) FROM (" + valueRows(dated, anyVersion) +
           ") src WHERE level = CAST($4 AS BIGINT) AND metric = 't' GROUP BY value ORDER BY value";
}

std::string playersSql(bool dated, int limit) {
    const std::string p, l = " LIMIT " + std::to_string(limit);
    if (!dated)
        return std::string("SELECT player, SUM(runs), SUM(rounds), SUM(wins), MAX(highest_played), "
                           "MAX(highest_won), MIN(first_seen), MAX(last_seen) FROM player_totals WHERE ") +
               kVersionIs + " GROUP BY player ORDER BY MAX(last_seen) DESC, player" + l;
    return "SELECT player, COUNT(DISTINCT run_key), COUNT(*), SUM(" + won(p) + "), MAX(level), MAX(" + wonLevel(p) +
           "), MIN(received_at), MAX(received_at) FROM records WHERE " + kRecordsMatch +
           " GROUP BY player ORDER BY MAX(received_at) DESC, player" + l;
}

std::string countsSql(bool dated) {
    if (!dated)
        return std::string("SELECT COUNT(DISTINCT player), COALESCE(SUM(rounds), 0) FROM player_totals WHERE ") +
               kVersionIs;
    return std::string("SELECT COUNT(DISTINCT player), COUNT(*) FROM records WHERE ") + kRecordsMatch;
}

bool retryable(const std::string& state) {
    return state == "40P01" || state == "40001";
}

}  // namespace storesql

bool Store::select(const RecordFilter& f, std::vector<PlayRecord>& out, std::string& error) {
    out.clear();
    return query(storesql::selectSql(), storesql::filterParams(f),
                 [&](const SqlRow& row) {
                     PlayRecord r;
                     if (storesql::fromValues(row, r)) out.push_back(std::move(r));
                     return true;
                 },
                 error);
}

bool Store::versions(std::vector<std::string>& out, std::string& error) {
    out.clear();
    return query("SELECT DISTINCT version FROM level_totals ORDER BY version", {},
                 [&](const SqlRow& row) {
                     out.push_back(row[0]);
                     return true;
                 },
                 error);
}

std::unique_ptr<Store> makeStore(const std::string& target) {
    if (target.rfind("postgresql://", 0) == 0 || target.rfind("postgres://", 0) == 0)
        return makePostgresStore(target);
    return makeSqliteStore(target);
}
