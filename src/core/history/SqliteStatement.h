// One prepared statement of the system SQLite library, finalized when it goes out of scope,
// and the words for the user when SQLite reports a failure.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fendrel {

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // SQLITE_OK when prepared; otherwise the code, and every step returns it again.
    int prepared() const { return m_prepared; }

    // Parameters count from 1.
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, double value);
    SqliteStatement& bind(int index, std::string_view text);
    SqliteStatement& bind(int index, const std::optional<double>& value);

    // SQLITE_ROW, SQLITE_DONE, or the code of the failure.
    int step();
    // Ready to run again with new parameters.
    void reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    int m_prepared;
};

// Runs statements that return no rows; SQLITE_OK or the code of the failure.
int sqliteExec(sqlite3* db, const char* sql);

// A sentence for the user about a failure of SQLite on `file`, code `rc`.
std::string sqliteFailure(sqlite3* db, int rc, const std::filesystem::path& file);

} // namespace fendrel
