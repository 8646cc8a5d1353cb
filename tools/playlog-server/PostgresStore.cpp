// The records in PostgreSQL through libpq: every statement with parameters,
// one connection guarded by a lock, reconnected once when it has dropped.
#include <libpq-fe.h>

#include <mutex>

#include "Store.h"

namespace {

using storesql::Dialect;

class PostgresStore : public Store {
public:
    explicit PostgresStore(std::string conninfo) : _conninfo(std::move(conninfo)) {}
    ~PostgresStore() override {
        if (_c) PQfinish(_c);
    }

    bool open(std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        if (!connect(error)) return false;
        if (!exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", error))
            return false;
        _version = 0;
        PGresult* r = PQexec(_c, "SELECT version FROM schema_version");
        if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0)
            _version = std::atoi(PQgetvalue(r, 0, 0));
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

    int schemaVersion() override { return _version; }

    bool insert(const std::vector<PlayRecord>& records, int& added, std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        added = 0;
        if (!alive(error) || !exec("BEGIN", error)) return false;
        const std::string sql = storesql::insertSql(Dialect::Postgres);
        for (const PlayRecord& rec : records) {
            const auto v = storesql::values(rec);
            std::vector<const char*> p;
            for (const auto& s : v) p.push_back(s.c_str());
            PGresult* r = PQexecParams(_c, sql.c_str(), static_cast<int>(p.size()), nullptr, p.data(),
                                       nullptr, nullptr, 0);
            const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
            if (ok)
                added += std::atoi(PQcmdTuples(r));
            else
                error = PQresultErrorMessage(r);
            PQclear(r);
            if (!ok) {
                std::string ignored;
                exec("ROLLBACK", ignored);
                return false;
            }
        }
        return exec("COMMIT", error);
    }

    bool select(const RecordFilter& f, std::vector<PlayRecord>& out, std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        out.clear();
        if (!alive(error)) return false;
        const std::string params[] = {f.version, storesql::dayStart(f.from), storesql::dayEnd(f.to)};
        const char* p[] = {params[0].c_str(), params[1].c_str(), params[2].c_str()};
        PGresult* r = PQexecParams(_c, storesql::selectSql(Dialect::Postgres).c_str(), 3, nullptr, p, nullptr,
                                   nullptr, 0);
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            error = PQresultErrorMessage(r);
            PQclear(r);
            return false;
        }
        const int rows = PQntuples(r), cols = PQnfields(r);
        for (int i = 0; i < rows; ++i) {
            std::vector<std::string> v;
            for (int k = 0; k < cols; ++k) v.emplace_back(PQgetvalue(r, i, k));
            PlayRecord rec;
            if (storesql::fromValues(v, rec)) out.push_back(std::move(rec));
        }
        PQclear(r);
        return true;
    }

    bool versions(std::vector<std::string>& out, std::string& error) override {
        std::lock_guard<std::mutex> lock(_m);
        out.clear();
        if (!alive(error)) return false;
        PGresult* r = PQexec(_c, "SELECT DISTINCT version FROM records ORDER BY version");
        const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK;
        if (ok)
            for (int i = 0; i < PQntuples(r); ++i) out.emplace_back(PQgetvalue(r, i, 0));
        else
            error = PQresultErrorMessage(r);
        PQclear(r);
        return ok;
    }

private:
    std::string _conninfo;
    PGconn* _c = nullptr;
    std::mutex _m;
    int _version = 0;

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
