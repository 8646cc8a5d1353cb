// The records in an SQLite file: WAL with full synchronisation, so a record
// is on disk before its upload is answered; one writing connection and one
// reading connection (readers never wait for a writer in WAL).
#include <sqlite3.h>

#include <mutex>

#include "Store.h"

namespace {

using Dialect = Store::Dialect;

class SqliteStore : public Store {
public:
    explicit SqliteStore(std::string path) : _path(std::move(path)) {}
    ~SqliteStore() override {
        if (_insert) sqlite3_finalize(_insert);
        if (_w) sqlite3_close(_w);
        if (_r) sqlite3_close(_r);
    }

    bool open(std::string& error) override {
        if (!openDb(_w, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error)) return false;
        if (!exec(_w, "PRAGMA journal_mode=WAL", error) || !exec(_w, "PRAGMA synchronous=FULL", error) ||
            !exec(_w, "CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", error))
            return false;
        _version = readVersion();
        for (int n = _version + 1; n <= storesql::latestVersion(); ++n) {
            if (!exec(_w, "BEGIN IMMEDIATE", error)) return false;
            bool ok = true;
            for (const std::string& s : storesql::migration(Dialect::Sqlite, n))
                ok = ok && exec(_w, s, error);
            ok = ok && exec(_w, "DELETE FROM schema_version", error) &&
                 exec(_w, "INSERT INTO schema_version (version) VALUES (" + std::to_string(n) + ")", error);
            if (!ok) {
                std::string ignored;
                exec(_w, "ROLLBACK", ignored);
                error = "migration to schema " + std::to_string(n) + " failed: " + error;
                return false;
            }
            if (!exec(_w, "COMMIT", error)) return false;
            _version = n;
        }
        if (sqlite3_prepare_v2(_w, storesql::insertSql(Dialect::Sqlite).c_str(), -1, &_insert, nullptr) !=
            SQLITE_OK) {
            error = sqlite3_errmsg(_w);
            return false;
        }
        return openDb(_r, SQLITE_OPEN_READONLY, error);
    }

    int schemaVersion() override { return _version; }

    bool insert(const std::vector<PlayRecord>& records, int& added, std::string& error) override {
        std::lock_guard<std::mutex> lock(_wm);
        added = 0;
        if (!exec(_w, "BEGIN IMMEDIATE", error)) return false;
        for (const PlayRecord& r : records) {
            const auto v = storesql::values(r);
            const auto& cols = storesql::columns();
            sqlite3_reset(_insert);
            sqlite3_clear_bindings(_insert);
            for (size_t i = 0; i < v.size(); ++i) {
                const int k = static_cast<int>(i) + 1;
                if (cols[i].type == 'i')
                    sqlite3_bind_int64(_insert, k, std::stoll(v[i]));
                else if (cols[i].type == 'r')
                    sqlite3_bind_double(_insert, k, r.avgChain);
                else
                    sqlite3_bind_text(_insert, k, v[i].c_str(), static_cast<int>(v[i].size()),
                                      SQLITE_TRANSIENT);
            }
            if (sqlite3_step(_insert) != SQLITE_DONE) {
                error = sqlite3_errmsg(_w);
                sqlite3_reset(_insert);
                std::string ignored;
                exec(_w, "ROLLBACK", ignored);
                return false;
            }
            added += sqlite3_changes(_w);
        }
        sqlite3_reset(_insert);
        if (!exec(_w, "COMMIT", error)) {
            std::string ignored;
            exec(_w, "ROLLBACK", ignored);
            return false;
        }
        return true;
    }

    Dialect dialect() const override { return Dialect::Sqlite; }

    bool query(const std::string& sql, const std::vector<std::string>& params, const SqlRowHandler& onRow,
               std::string& error) override {
        std::lock_guard<std::mutex> lock(_rm);
        sqlite3_stmt* st = prepare(_r, sql, params, error);
        if (!st) return false;
        SqlRow row;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            readRow(st, row);
            if (!onRow(row)) {
                rc = SQLITE_DONE;
                break;
            }
        }
        if (rc != SQLITE_DONE) error = sqlite3_errmsg(_r);
        sqlite3_finalize(st);
        return rc == SQLITE_DONE;
    }

    std::unique_ptr<RowCursor> openCursor(const std::string& sql, const std::vector<std::string>& params,
                                          std::string& error) override {
        sqlite3* db = nullptr;
        if (!openDb(db, SQLITE_OPEN_READONLY, error)) {
            if (db) sqlite3_close(db);
            return nullptr;
        }
        sqlite3_stmt* st = prepare(db, sql, params, error);
        if (!st) {
            sqlite3_close(db);
            return nullptr;
        }
        return std::make_unique<Cursor>(db, st);
    }

private:
    std::string _path;
    sqlite3* _w = nullptr;
    sqlite3* _r = nullptr;
    sqlite3_stmt* _insert = nullptr;
    std::mutex _wm, _rm;
    int _version = 0;

    bool openDb(sqlite3*& db, int flags, std::string& error) {
        if (sqlite3_open_v2(_path.c_str(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr) != SQLITE_OK) {
            error = "cannot open " + _path + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
            return false;
        }
        sqlite3_busy_timeout(db, 5000);
        return true;
    }

    class Cursor : public RowCursor {
    public:
        Cursor(sqlite3* db, sqlite3_stmt* st) : _db(db), _st(st) {}
        ~Cursor() override {
            sqlite3_finalize(_st);
            sqlite3_close(_db);
        }
        bool next(SqlRow& row) override {
            const int rc = sqlite3_step(_st);
            if (rc == SQLITE_ROW) {
                readRow(_st, row);
                return true;
            }
            if (rc != SQLITE_DONE) _error = sqlite3_errmsg(_db);
            return false;
        }
        const std::string& error() const override { return _error; }

    private:
        sqlite3* _db;
        sqlite3_stmt* _st;
        std::string _error;
    };

    // Parameters are written $1, $2, ... and bound by those names.
    static sqlite3_stmt* prepare(sqlite3* db, const std::string& sql, const std::vector<std::string>& params,
                                 std::string& error) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            error = sqlite3_errmsg(db);
            sqlite3_finalize(st);
            return nullptr;
        }
        for (size_t i = 0; i < params.size(); ++i) {
            const int k = sqlite3_bind_parameter_index(st, ("$" + std::to_string(i + 1)).c_str());
            if (k > 0)
                sqlite3_bind_text(st, k, params[i].c_str(), static_cast<int>(params[i].size()), SQLITE_TRANSIENT);
        }
        return st;
    }

    static void readRow(sqlite3_stmt* st, SqlRow& row) {
        const int n = sqlite3_column_count(st);
        row.resize(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const unsigned char* t = sqlite3_column_text(st, i);
            row[static_cast<size_t>(i)].assign(t ? reinterpret_cast<const char*>(t) : "",
                                               t ? static_cast<size_t>(sqlite3_column_bytes(st, i)) : 0);
        }
    }

    static bool exec(sqlite3* db, const std::string& sql, std::string& error) {
        char* msg = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) == SQLITE_OK) return true;
        error = msg ? msg : "SQLite error";
        sqlite3_free(msg);
        return false;
    }

    int readVersion() {
        sqlite3_stmt* st = nullptr;
        int v = 0;
        if (sqlite3_prepare_v2(_w, "SELECT version FROM schema_version", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            v = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        return v;
    }
};

}  // namespace

std::unique_ptr<Store> makeSqliteStore(const std::string& path) {
    return std::make_unique<SqliteStore>(path);
}
