// Where the collector keeps its records: an SQLite file (one studio
// machine) or a PostgreSQL database (many testers, several collectors).
// Both keep one row per record, refuse a record they already hold, keep
// running totals per version and level (and per version and player) beside
// the records so the dashboard never reads every record, and carry a schema
// version that opening brings up to date.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PlayRecord.h"

struct RecordFilter {
    std::string version;   // "" = any
    std::string from, to;  // "YYYY-MM-DD", inclusive; "" = open
    bool dated() const { return !from.empty() || !to.empty(); }
};

// One row of a query's answer: each column's text (null reads as "").
using SqlRow = std::vector<std::string>;
using SqlRowHandler = std::function<bool(const SqlRow&)>;  // false stops the walk

// Rows handed out one at a time, for answers too large to hold (the CSV).
class RowCursor {
public:
    virtual ~RowCursor() = default;
    // The next row into `row`; false at the end or on an error (error() says which).
    virtual bool next(SqlRow& row) = 0;
    virtual const std::string& error() const = 0;
};

class Store {
public:
    enum class Dialect { Sqlite, Postgres };
    virtual ~Store() = default;
    // Connects and applies the migrations the database has not had yet.
    virtual bool open(std::string& error) = 0;
    virtual int schemaVersion() = 0;
    virtual Dialect dialect() const = 0;
    // Stores the records in one transaction, durably, before returning true;
    // `added` counts those not already held.
    virtual bool insert(const std::vector<PlayRecord>& records, int& added, std::string& error) = 0;
    // A read-only statement with parameters written $1, $2, ... (both
    // dialects), each row handed to onRow as it comes. Dashboard sections
    // build their per-level figures with this.
    virtual bool query(const std::string& sql, const std::vector<std::string>& params,
                       const SqlRowHandler& onRow, std::string& error) = 0;
    // A statement whose rows are read one by one on a connection of their
    // own (a long export does not hold up the uploads).
    virtual std::unique_ptr<RowCursor> openCursor(const std::string& sql, const std::vector<std::string>& params,
                                                  std::string& error) = 0;

    // Every record matching the filter, in arrival order (tests and small tools).
    bool select(const RecordFilter& filter, std::vector<PlayRecord>& out, std::string& error);
    bool versions(std::vector<std::string>& out, std::string& error);
};

// "postgresql://..." (or "postgres://...") opens PostgreSQL; anything else is
// an SQLite file.
std::unique_ptr<Store> makeStore(const std::string& target);
std::unique_ptr<Store> makeSqliteStore(const std::string& path);
std::unique_ptr<Store> makePostgresStore(const std::string& conninfo);

// Shared by both: the columns of a record row, the migrations, the queries.
namespace storesql {
using Dialect = Store::Dialect;
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
// ("" leaves each open), in arrival order.
std::string selectSql();
// The three parameters of selectSql for a filter.
std::vector<std::string> filterParams(const RecordFilter& f);
std::string dayStart(const std::string& day);
std::string dayEnd(const std::string& day);
// Empties the running totals and counts them again from the records (after
// a bulk load that bypassed them).
std::vector<std::string> rebuildTotals(Dialect d);
// The value a median is counted with: exact below 1000, `figures`
// significant figures from there on (times and matches three, scores two),
// so the totals stay small however many records come.
int64_t medianBin(int64_t v, int figures);
std::string medianBinSql(const std::string& expr, int figures);
// The dashboard's statements, with the parameters $1 version, $2 and $3
// first and last time (filterParams), $4 a level. Without dates they read
// the running totals; with dates, the records of those days.
std::string levelFiguresSql(bool dated);  // level, plays, wins, losses, left, power-ups, pieces, biggest
std::string mediansSql(bool dated, bool anyVersion);     // level, metric (t w s m), lower and upper middle value
std::string timeCountsSql(bool dated, bool anyVersion);  // seconds (as counted for medians), plays
std::string playersSql(bool dated, int limit);  // player, runs, rounds, wins, highest played and won, first, last
std::string countsSql(bool dated);        // players, rounds
// Whether a failed statement is worth running again (deadlock, serialisation).
bool retryable(const std::string& sqlstate);
}  // namespace storesql
