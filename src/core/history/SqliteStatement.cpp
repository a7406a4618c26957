// Prepared statements and SQLite's failures in words.
#include "SqliteStatement.h"

namespace fendrel {

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : m_db(db) {
    m_prepared =
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr);
    if (m_prepared == SQLITE_OK && !m_statement)
        m_prepared = SQLITE_MISUSE; // an empty statement
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (m_statement)
        sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value) {
    if (m_statement)
        sqlite3_bind_double(m_statement, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
    if (m_statement)
        sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const std::optional<double>& value) {
    if (value)
        return bind(index, *value);
    if (m_statement)
        sqlite3_bind_null(m_statement, index);
    return *this;
}

int SqliteStatement::step() {
    if (m_prepared != SQLITE_OK)
        return m_prepared;
    return sqlite3_step(m_statement);
}

void SqliteStatement::reset() {
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

std::int64_t SqliteStatement::integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

std::string SqliteStatement::text(int column) const {
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return t ? std::string(t, static_cast<size_t>(sqlite3_column_bytes(m_statement, column)))
             : std::string();
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

int sqliteExec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

std::string sqliteFailure(sqlite3* db, int rc, const std::filesystem::path& file) {
    const std::string name = "The load history '" + file.string() + "'";
    const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xFF) {
    case SQLITE_NOTADB:
        return name + " is not a load history file (it is not an SQLite database).";
    case SQLITE_CORRUPT:
        return name + " is damaged (" + detail + "). Restore it from a backup.";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return name + " is in use by another program. Try again in a moment.";
    case SQLITE_FULL:
        return "The disk is full: nothing was stored in the load history.";
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return name + " cannot be written (" + detail + ").";
    case SQLITE_CANTOPEN:
        return name + " cannot be opened (" + detail + ").";
    case SQLITE_IOERR:
        return "Reading or writing " + file.string() + " failed (" + detail + ").";
    case SQLITE_CONSTRAINT:
        return "The load history refused a value out of range (" + detail + ").";
    default:
        return name + ": " + detail + ".";
    }
}

} // namespace fendrel
