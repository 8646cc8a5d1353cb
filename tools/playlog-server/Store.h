// Where the collector keeps its records: an SQLite file (one studio
// machine) or a PostgreSQL database (many testers). Both keep one row per
// record, refuse a record they already hold, and carry a schema version that
// opening brings up to date.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "PlayRecord.h"

struct RecordFilter {
    std::string version;   // "" = any
    std::string from, to;  // "YYYY-MM-DD", inclusive; "" = open
};

class Store {
public:
    virtual ~Store() = default;
    // Connects and applies the migrations the database has not had yet.
    virtual bool open(std::string& error) = 0;
    virtual int schemaVersion() = 0;
    // Stores the records in one transaction, durably, before returning true;
    // `added` counts those not already held.
    virtual bool insert(const std::vector<PlayRecord>& records, int& added, std::string& error) = 0;
    virtual bool select(const RecordFilter& filter, std::vector<PlayRecord>& out, std::string& error) = 0;
    virtual bool versions(std::vector<std::string>& out, std::string& error) = 0;
};

// "postgresql://..." (or "postgres://...") opens PostgreSQL; anything else is
// an SQLite file.
std::unique_ptr<Store> makeStore(const std::string& target);
std::unique_ptr<Store> makeSqliteStore(const std::string& path);
std::unique_ptr<Store> makePostgresStore(const std::string& conninfo);

// Shared by both: the columns of a record row and the migrations.
namespace storesql {
enum class Dialect { Sqlite, Postgres };
struct Column {
    const char* name;
    char type;  // 'i' integer, 't' text, 'r' real
};
const std::vector<Column>& columns();
// The record's values in columns() order, as text.
std::vector<std::string> values(const PlayRecord& r);
// A record from a row in columns() order; false when a value is malformed.
bool fromValues(const std::vector<std::string>& v, PlayRecord& r);
// Migration n (1-based) as statements; empty past the last.
std::vector<std::string> migration(Dialect d, int n);
int latestVersion();
std::string insertSql(Dialect d);
// The rows matching three parameters: version, first and last time as text
// ("" leaves each open).
std::string selectSql(Dialect d);
std::string dayStart(const std::string& day);
std::string dayEnd(const std::string& day);
}  // namespace storesql
