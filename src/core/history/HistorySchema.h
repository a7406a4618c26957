// The tables of history.sqlite and the steps that bring an older file up to date. The file's
// schema version is its user_version; its application_id marks it as a load history.
#pragma once

#include <sqlite3.h>

#include <span>
#include <string>

namespace fendrel {

inline constexpr int kHistoryApplicationId = 0x46644C48; // "FdLH"

// One step: the statements that take a file from version - 1 to `version`. The statements of a
// released step never change; a change of the tables is a new step.
struct HistoryMigration {
    int version;
    std::string sql;
};

std::span<const HistoryMigration> historyMigrations();

// The version this program writes: that of the last step.
int historySchemaVersion();

// Why a file marked with this user_version and application_id cannot be opened by a program
// whose newest version is `newest` (a newer file, another program's), or empty when it can.
std::string historyMarkRefusal(int userVersion, int applicationId, int newest);

// Runs the steps above the file's version inside the caller's transaction, then sets
// user_version and application_id. Refuses (without a change) a file of a newer version, one
// not marked as a load history (another program's database) unless it is empty.
// SQLITE_OK, or a code with `why` filled in.
int migrateHistory(sqlite3* db, std::span<const HistoryMigration> steps, std::string& why);

} // namespace fendrel
