// The records in PostgreSQL through libpq: every statement with parameters,
// one connection for uploads and the dashboard guarded by a lock (reconnected
// when it has dropped), and a connection of its own for each export. Several
// collectors may share one database: the migrations run under an advisory
// lock, and an upload whose transaction lost a deadlock to another
// collector's is run again.
#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "Store.h"

namespace {

using Dialect = Store::Dialect;

// Every parameter goes as text (also those a statement does not use, whose
// type PostgreSQL could not tell otherwise).
const Oid kTextOid = 25;

// Any number; every collector takes the same lock while it migrates.
const char* kMigrationLock = "SELECT pg_advisory_lock(73190415)";
const char* kMigrationUnlock = "SELECT pg_advisory_unlock(73190415)";

std::vector<const char*> pointers(const std::vector<std::string>& params) {
    std::vector<const char*> p;
    for (const auto& s : params) p.push_back(s.c_str());
    return p;
}

// The parameters a statement uses: PostgreSQL refuses more than its highest
// $n (SQLite takes them), and the shared statements do not all use every one.
std::vector<const char*> pointersFor(const std::string& sql, const std::vector<std::string>& params) {
    size_t highest = 0;
    for (size_t i = 0; i + 1 < sql.size(); ++i)
        if (sql[i] == '$' && sql[i + 1] >= '1' && sql[i + 1] <= '9') {
            size_t n = 0, k = i + 1;
            while (k < sql.size() && sql[k] >= '0' && sql[k] <= '9') n = n * 10 + static_cast<size_t>(sql[k++] - '0');
            highest = std::max(highest, n);
        }
    auto p = pointers(params);
    if (p.size() > highest) p.resize(highest);
    return p;
}

void readRow(const PGresult* r, int i, SqlRow& row) {
    const int cols = PQnfields(r);
    row.resize(static_cast<size_t>(cols));
    for (int k = 0; k < cols; ++k)
        row[static_cast<size_t>(k)].assign(PQgetvalue(r, i, k), static_cast<size_t>(PQgetlength(r, i, k)));
}

class Cursor : public RowCursor {
public:
    explicit Cursor(PGconn* c) : _c(c) {}
    ~Cursor() override {
        // Drain what the server still sends, then hang up.
        if (!_done) {
            PQrequestCancel(_c);
            while (PGresult* r = PQgetResult(_c)) PQclear(r);
        }
        PQfinish(_c);
    }
    bool next(SqlRow& row) override {
        if (_done) return false;
        PGresult* r = PQgetResult(_c);
        if (!r) {
            _done = true;
            return false;
        }
        const ExecStatusType st = PQresultStatus(r);
        if (st == PGRES_SINGLE_TUPLE) {
            readRow(r, 0, row);
            PQclear(r);
            return true;
        }
        if (st != PGRES_TUPLES_OK) _error = PQresultErrorMessage(r);
        PQclear(r);
        while (PGresult* rest = PQgetResult(_c)) PQclear(rest);
        _done = true;
        return false;
    }
    const std::string& error() const override { return _error; }

private:
    PGconn* _c;
    bool _done = false;
    std::string _error;
};

class PostgresStore : public Store {
public:
    explicit PostgresStore(std::string conninfo) : _conninfo(std::move(conninfo)) {}
    ~PostgresStore() override {
        if (_c) PQfinish(_c);
    }

    Dialect dialect() const override { return Dialect::Postgres; }

    bool open(std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        if (!connect(error)) return false;
        std::string ignored;
        if (!exec(kMigrationLock, error)) return false;
        const bool ok = migrate(error);
        exec(kMigrationUnlock, ignored);
        return ok;
    }

    int schemaVersion() override { return _version; }

    bool insert(const std::vector<PlayRecord>& records, int& added, std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        // Another collector's transaction may touch the same totals in
        // another order; the loser of such a deadlock runs again.
        for (int attempt = 0;; ++attempt) {
            std::string state;
            if (insertOnce(records, added, error, state)) return true;
            if (!storesql::retryable(state) || attempt >= 8) return false;
        }
    }

    bool query(const std::string& sql, const std::vector<std::string>& params, const SqlRowHandler& onRow,
               std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        if (!alive(error)) return false;
        const auto p = pointersFor(sql, params);
        const std::vector<Oid> types(p.size(), kTextOid);
        PGresult* r = PQexecParams(_c, sql.c_str(), static_cast<int>(p.size()), types.data(), p.data(), nullptr,
                                   nullptr, 0);
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            error = PQresultErrorMessage(r);
            PQclear(r);
            return false;
        }
        SqlRow row;
        for (int i = 0; i < PQntuples(r); ++i) {
            readRow(r, i, row);
            if (!onRow(row)) break;
        }
        PQclear(r);
        return true;
    }

    std::unique_ptr<RowCursor> openCursor(const std::string& sql, const std::vector<std::string>& params,
                                          std::string& error) override {
        PGconn* c = PQconnectdb(_conninfo.c_str());
        if (PQstatus(c) != CONNECTION_OK) {
            error = std::string("cannot connect to PostgreSQL: ") + PQerrorMessage(c);
            PQfinish(c);
            return nullptr;
        }
        const auto p = pointersFor(sql, params);
        const std::vector<Oid> types(p.size(), kTextOid);
        if (!PQsendQueryParams(c, sql.c_str(), static_cast<int>(p.size()), types.data(), p.data(), nullptr, nullptr,
                               0) ||
            !PQsetSingleRowMode(c)) {
            error = PQerrorMessage(c);
            PQfinish(c);
            return nullptr;
        }
        return std::make_unique<Cursor>(c);
    }

private:
    std::string _conninfo;
    PGconn* _c = nullptr;
    std::mutex _m;
    int _version = 0;

    bool migrate(std::string& error) {
        if (!exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", error)) return false;
        _version = 0;
        PGresult* r = PQexec(_c, "SELECT version FROM schema_version");
        if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0) _version = std::atoi(PQgetvalue(r, 0, 0));
        PQclear(r);
        for (int n = _version + 1; n <= storesql::latestVersion(); ++n) {
            bool ok = exec("BEGIN", error);
            for (const std::string& s : storesql::migration(Dialect::Postgres, n)) ok = ok && exec(s, error);
            ok = ok && exec("DELETE FROM schema_version", error) &&
                 exec("INSERT INTO schema_version (version) VALUES (" + std::to_string(n) + ")", error) &&
                 exec("COMMIT", error);
            if (!ok) {
                std::string ignored;
                exec("ROLLBACK", ignored);
                error = "migration to schema " + std::to_string(n) + " failed: " + error;
                return false;
            }
            _version = n;
        }
        return true;
    }

    bool insertOnce(const std::vector<PlayRecord>& records, int& added, std::string& error, std::string& state) {
        added = 0;
        if (!alive(error) || !exec("BEGIN", error)) return false;
        const std::string sql = storesql::insertSql(Dialect::Postgres);
        for (const PlayRecord& rec : records) {
            const auto v = storesql::values(rec);
            const auto p = pointers(v);
            PGresult* r = PQexecParams(_c, sql.c_str(), static_cast<int>(p.size()), nullptr, p.data(), nullptr,
                                       nullptr, 0);
            const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
            if (ok) {
                added += std::atoi(PQcmdTuples(r));
            } else {
                error = PQresultErrorMessage(r);
                const char* s = PQresultErrorField(r, PG_DIAG_SQLSTATE);
                state = s ? s : "";
            }
            PQclear(r);
            if (!ok) {
                std::string ignored;
                exec("ROLLBACK", ignored);
                return false;
            }
        }
        PGresult* r = PQexec(_c, "COMMIT");
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        if (!ok) {
            error = PQresultErrorMessage(r);
            const char* s = PQresultErrorField(r, PG_DIAG_SQLSTATE);
            state = s ? s : "";
        }
        PQclear(r);
        return ok;
    }

    bool connect(std::string& error) {
        if (_c) PQfinish(_c);
        _c = PQconnectdb(_conninfo.c_str());
        if (PQstatus(_c) != CONNECTION_OK) {
            error = std::string("cannot connect to PostgreSQL: ") + PQerrorMessage(_c);
            return false;
        }
        return true;
    }
    bool alive(std::string& error) {
        if (_c && PQstatus(_c) == CONNECTION_OK) return true;
        if (_c) PQreset(_c);
        if (_c && PQstatus(_c) == CONNECTION_OK) return true;
        return connect(error);
    }
    bool exec(const std::string& sql, std::string& error) {
        PGresult* r = PQexec(_c, sql.c_str());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
        if (!ok) error = PQresultErrorMessage(r);
        PQclear(r);
        return ok;
    }
};

}  // namespace

std::unique_ptr<Store> makePostgresStore(const std::string& conninfo) {
    return std::make_unique<PostgresStore>(conninfo);
}
