// build/playlog-generate --db TARGET --records N [--seed S] [--days D] [--versions V]
// Fills a collector's database with N made-up records, as play-testers of
// several builds would leave them over D days: runs of 5 to 40 rounds by
// players who mostly go on to the next level, win about two rounds in three
// and take 20 s to 10 min a round. On PostgreSQL the records go in with
// COPY while the per-record totals are switched off, and the totals are
// counted once at the end (in the same transaction, so a collector writing
// meanwhile waits and loses nothing); on SQLite they go through the store.
#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "Store.h"

namespace {

struct Generator {
    std::mt19937_64 rng;
    int days, versions;
    int64_t made = 0;
    // The run being played.
    std::string player, runKey, version;
    int roundsLeft = 0, level = 1, id = 0, day = 0;
    int64_t runs = 0;

    Generator(uint64_t seed, int d, int v) : rng(seed), days(d), versions(v) {}

    int64_t between(int64_t lo, int64_t hi) { return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1)); }

    PlayRecord next() {
        if (roundsLeft == 0) {
            ++runs;
            player = "tester-" + std::to_string(between(1, 20000));
            runKey = hashHex(player + "#" + std::to_string(runs));
            version = "v1." + std::to_string(between(0, versions - 1));
            roundsLeft = static_cast<int>(between(5, 40));
            level = static_cast<int>(between(1, 150));
            id = 0;
            day = static_cast<int>(between(0, days - 1));
        }
        --roundsLeft;
        PlayRecord r;
        r.version = version;
        r.player = player;
        r.runKey = runKey;
        r.recordId = ++id;
        r.level = level;
        r.stage = 1 + level / 16;
        const int64_t roll = between(0, 99);
        r.outcome = roll < 65 ? 1 : roll < 92 ? 0 : -1;
        if (r.outcome == 1 && level < 191) ++level;
        r.levelTime = between(20, 600);
        r.score = 10 * (r.outcome == 1 ? between(200, 4000) : between(0, 1500));  // scores go in tens
        r.matchType = "SWAP";
        r.availableChips = "1 2 3 4 5";
        r.chipsCount = 5;
        r.tilesToBreak = between(10, 80);
        r.lastTileBreakTime = r.levelTime;
        r.matches = between(5, 120);
        r.biggestMatch = between(3, 7);
        r.match4 = between(0, 6);
        r.bonusUsage[static_cast<size_t>(between(0, 5))] = between(0, 2);
        if (between(0, 3) == 0) r.pickupTimes = {between(5, 100)};
        r.avgChain = 3.0 + static_cast<double>(between(0, 100)) / 100.0;
        const int64_t second = between(0, 86399);
        char when[32];
        std::snprintf(when, sizeof when, "2026-%02d-%02dT%02lld:%02lld:%02lldZ", 1 + day / 28 % 12, 1 + day % 28,
                      static_cast<long long>(second / 3600), static_cast<long long>(second / 60 % 60),
                      static_cast<long long>(second % 60));
        r.receivedAt = when;
        r.remoteAddr = "10.0." + std::to_string(between(0, 255)) + "." + std::to_string(between(1, 254));
        r.contentHash = hashHex(std::to_string(++made) + runKey);
        return r;
    }
};

bool exec(PGconn* c, const std::string& sql) {
    PGresult* r = PQexec(c, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (!ok) std::fprintf(stderr, "playlog-generate: %s: %s\n", sql.substr(0, 80).c_str(), PQresultErrorMessage(r));
    PQclear(r);
    return ok;
}

int copyIntoPostgres(const std::string& conninfo, Generator& g, int64_t n) {
    PGconn* c = PQconnectdb(conninfo.c_str());
    if (PQstatus(c) != CONNECTION_OK) {
        std::fprintf(stderr, "playlog-generate: %s", PQerrorMessage(c));
        return 1;
    }
    std::string names;
    for (const auto& col : storesql::columns()) names += std::string(names.empty() ? "" : ", ") + col.name;
    bool ok = exec(c, "BEGIN") && exec(c, "ALTER TABLE records DISABLE TRIGGER records_totals");
    if (ok) {
        PGresult* r = PQexec(c, ("COPY records (" + names + ") FROM STDIN").c_str());
        ok = PQresultStatus(r) == PGRES_COPY_IN;
        if (!ok) std::fprintf(stderr, "playlog-generate: COPY: %s", PQresultErrorMessage(r));
        PQclear(r);
    }
    std::string buf;
    for (int64_t i = 0; ok && i < n; ++i) {
        const auto v = storesql::values(g.next());
        for (size_t k = 0; k < v.size(); ++k) {
            if (k) buf += '\t';
            buf += v[k];  // made here: no tab, line end or backslash in them
        }
        buf += '\n';
        if (buf.size() > (1 << 20) || i + 1 == n) {
            ok = PQputCopyData(c, buf.data(), static_cast<int>(buf.size())) == 1;
            buf.clear();
        }
    }
    ok = ok && PQputCopyEnd(c, nullptr) == 1;
    if (ok) {
        PGresult* r = PQgetResult(c);
        ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        if (!ok) std::fprintf(stderr, "playlog-generate: COPY: %s", PQresultErrorMessage(r));
        PQclear(r);
        while (PGresult* rest = PQgetResult(c)) PQclear(rest);
    }
    ok = ok && exec(c, "ALTER TABLE records ENABLE TRIGGER records_totals");
    for (const std::string& s : storesql::rebuildTotals(Store::Dialect::Postgres)) ok = ok && exec(c, s);
    ok = ok && exec(c, "COMMIT") && exec(c, "ANALYZE");
    if (!ok) exec(c, "ROLLBACK");
    PQfinish(c);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string db;
    int64_t n = 0;
    uint64_t seed = 1;
    int days = 90, versions = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i], v = argv[i + 1];
        if (a == "--db")
            db = v;
        else if (a == "--records")
            n = std::stoll(v);
        else if (a == "--seed")
            seed = std::stoull(v);
        else if (a == "--days")
            days = std::max(1, std::stoi(v));
        else if (a == "--versions")
            versions = std::max(1, std::stoi(v));
    }
    if (db.empty() || n <= 0) {
        std::fprintf(stderr, "usage: playlog-generate --db TARGET --records N [--seed S] [--days D] [--versions V]\n");
        return 2;
    }
    auto store = makeStore(db);
    std::string error;
    if (!store->open(error)) {
        std::fprintf(stderr, "playlog-generate: %s\n", error.c_str());
        return 1;
    }
    Generator g(seed, days, versions);
    const auto t0 = std::chrono::steady_clock::now();
    int rc = 0;
    if (store->dialect() == Store::Dialect::Postgres) {
        rc = copyIntoPostgres(db, g, n);
    } else {
        std::vector<PlayRecord> batch;
        for (int64_t i = 0; i < n && rc == 0; ++i) {
            batch.push_back(g.next());
            if (batch.size() == 5000 || i + 1 == n) {
                int added = 0;
                if (!store->insert(batch, added, error)) {
                    std::fprintf(stderr, "playlog-generate: %s\n", error.c_str());
                    rc = 1;
                }
                batch.clear();
            }
        }
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (rc == 0) std::printf("playlog-generate: %lld records in %.1f s\n", static_cast<long long>(n), s);
    return rc;
}
