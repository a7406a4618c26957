// The schema of the load history and its migrations.
#include "HistorySchema.h"

#include "SqliteStatement.h"

#include <string_view>
#include <vector>

namespace fendrel {

namespace {

// `text` with every `mark` replaced by `by`.
std::string replaced(std::string text, std::string_view mark, const std::string& by) {
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
        text.replace(at, mark.size(), by);
    return text;
}

// Recomputes the summary columns of the load @ (NEW.load_id or OLD.load_id): the number of
// strings and groups, and the date and round values of its latest entry (strings before groups
// of the same date, later entries before earlier ones). The list of loads reads these columns
// instead of every entry.
const char* const kRefreshLoad = R"sql(
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = @),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = @),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 1 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = @
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = @)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = @;)sql";

// The triggers that keep the summary of table % up to date.
const char* const kSummaryTriggers = R"sql(
CREATE TRIGGER %_added AFTER INSERT ON % BEGIN {NEW} END;
CREATE TRIGGER %_changed AFTER UPDATE ON % BEGIN {NEW} {OLD} END;
CREATE TRIGGER %_removed AFTER DELETE ON % BEGIN {OLD} END;
)sql";

std::string summaryTriggers(const std::string& table, const char* refresh = kRefreshLoad) {
    std::string sql = replaced(kSummaryTriggers, "%", table);
    sql = replaced(sql, "{NEW}", replaced(refresh, "@", "NEW.load_id"));
    return replaced(sql, "{OLD}", replaced(refresh, "@", "OLD.load_id"));
}

// Version 1: loads keyed by the round description (exact text, case significant); strings
// with their shots and groups with their coordinates, each entry with the round values of its
// day. Numbers are bounded so that nothing infinite or out of range can be stored.
const char* const kVersion1 = R"sql(
CREATE TABLE loads (
    id INTEGER PRIMARY KEY,
    description TEXT NOT NULL UNIQUE,
    string_count INTEGER NOT NULL DEFAULT 0,
    group_count INTEGER NOT NULL DEFAULT 0,
    last_date TEXT,
    caliber TEXT,
    bullet_weight_gr REAL,
    bc REAL,
    charge_gr REAL
);
CREATE TABLE velocity_strings (
    id INTEGER PRIMARY KEY,
    load_id INTEGER NOT NULL REFERENCES loads(id) ON DELETE CASCADE,
    date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    temperature_f REAL CHECK (temperature_f BETWEEN -100 AND 200),
    note TEXT NOT NULL DEFAULT '',
    caliber TEXT NOT NULL,
    bullet_weight_gr REAL NOT NULL CHECK (bullet_weight_gr BETWEEN 0 AND 1e6),
    bc REAL NOT NULL CHECK (bc BETWEEN 0 AND 1e6),
    charge_gr REAL NOT NULL CHECK (charge_gr BETWEEN 0 AND 1e6)
);
CREATE INDEX strings_of_load ON velocity_strings (load_id, date, id);
CREATE TABLE string_shots (
    string_id INTEGER NOT NULL REFERENCES velocity_strings(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    fps REAL NOT NULL CHECK (fps > 0 AND fps <= 20000),
    PRIMARY KEY (string_id, number)
) WITHOUT ROWID;
CREATE TABLE paper_groups (
    id INTEGER PRIMARY KEY,
    load_id INTEGER NOT NULL REFERENCES loads(id) ON DELETE CASCADE,
    date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    distance_yd REAL NOT NULL CHECK (distance_yd > 0 AND distance_yd <= 10000),
    caliber_in REAL NOT NULL CHECK (caliber_in BETWEEN 0 AND 1e6),
    mean_radius_in REAL NOT NULL CHECK (mean_radius_in BETWEEN 0 AND 1e6),
    mean_spread_in REAL NOT NULL CHECK (mean_spread_in BETWEEN 0 AND 1e6),
    extreme_spread_in REAL NOT NULL CHECK (extreme_spread_in BETWEEN 0 AND 1e6),
    median_spread_in REAL NOT NULL CHECK (median_spread_in BETWEEN 0 AND 1e6),
    note TEXT NOT NULL DEFAULT '',
    caliber TEXT NOT NULL,
    bullet_weight_gr REAL NOT NULL CHECK (bullet_weight_gr BETWEEN 0 AND 1e6),
    bc REAL NOT NULL CHECK (bc BETWEEN 0 AND 1e6),
    charge_gr REAL NOT NULL CHECK (charge_gr BETWEEN 0 AND 1e6)
);
CREATE INDEX groups_of_load ON paper_groups (load_id, date, id);
CREATE TABLE group_shots (
    group_id INTEGER NOT NULL REFERENCES paper_groups(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    x_in REAL NOT NULL CHECK (x_in BETWEEN -1e6 AND 1e6),
    y_in REAL NOT NULL CHECK (y_in BETWEEN -1e6 AND 1e6),
    PRIMARY KEY (group_id, number)
) WITHOUT ROWID;
)sql";

// Version 2: what a chronograph's file tells of each shot (its time of day, the clean-bore and
// cold-bore marks, its note), and the group an e-target string was shot into. The index on the
// date finds a string that is imported a second time.
const char* const kVersion2 = R"sql(
ALTER TABLE string_shots ADD COLUMN time TEXT CHECK (time IS NULL OR
    (length(time) = 8 AND time GLOB '[0-2][0-9]:[0-5][0-9]:[0-5][0-9]'));
ALTER TABLE string_shots ADD COLUMN clean_bore INTEGER NOT NULL DEFAULT 0
    CHECK (clean_bore IN (0, 1));
ALTER TABLE string_shots ADD COLUMN cold_bore INTEGER NOT NULL DEFAULT 0
    CHECK (cold_bore IN (0, 1));
ALTER TABLE string_shots ADD COLUMN note TEXT NOT NULL DEFAULT '';
ALTER TABLE velocity_strings ADD COLUMN group_id INTEGER
    REFERENCES paper_groups(id) ON DELETE SET NULL;
CREATE INDEX strings_of_date ON velocity_strings (date);
CREATE INDEX strings_of_group ON velocity_strings (group_id);
)sql";

// Version 3: truings of the range card, each with the card's settings it was computed on, its
// observed corrections or its two measured velocities, and what it found (the velocity, the BC,
// or the knots of the drop scale with their errors). The summary of a load counts its truings
// and takes them into its latest entry (after strings and groups of the same date), so its
// triggers are made anew for every table.
const char* const kVersion3 = R"sql(
ALTER TABLE loads ADD COLUMN truing_count INTEGER NOT NULL DEFAULT 0;
CREATE TABLE truing_sessions (
    id INTEGER PRIMARY KEY,
    load_id INTEGER NOT NULL REFERENCES loads(id) ON DELETE CASCADE,
    date TEXT NOT NULL CHECK (date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
    kind TEXT NOT NULL CHECK (kind IN ('velocity', 'drop_scale', 'bc')),
    card TEXT NOT NULL CHECK (length(CAST(card AS BLOB)) <= 16384),
    metric INTEGER NOT NULL CHECK (metric IN (0, 1)),
    unit TEXT NOT NULL CHECK (unit IN ('moa', 'mil')),
    near_velocity REAL CHECK (near_velocity > 0 AND near_velocity <= 20000),
    near_distance REAL CHECK (near_distance BETWEEN 0 AND 10000),
    near_error REAL CHECK (near_error > 0 AND near_error <= 20000),
    far_velocity REAL CHECK (far_velocity > 0 AND far_velocity <= 20000),
    far_distance REAL CHECK (far_distance BETWEEN 0 AND 10000),
    far_error REAL CHECK (far_error > 0 AND far_error <= 20000),
    velocity REAL CHECK (velocity > 0 AND velocity <= 20000),
    velocity_error REAL CHECK (velocity_error BETWEEN 0 AND 20000),
    input_velocity REAL CHECK (input_velocity > 0 AND input_velocity <= 20000),
    trued_bc REAL CHECK (trued_bc > 0 AND trued_bc <= 10),
    trued_bc_error REAL CHECK (trued_bc_error BETWEEN 0 AND 10),
    note TEXT NOT NULL DEFAULT '',
    caliber TEXT NOT NULL,
    bullet_weight_gr REAL NOT NULL CHECK (bullet_weight_gr BETWEEN 0 AND 1e6),
    bc REAL NOT NULL CHECK (bc BETWEEN 0 AND 1e6),
    charge_gr REAL NOT NULL CHECK (charge_gr BETWEEN 0 AND 1e6),
    CHECK ((near_velocity IS NULL) = (near_distance IS NULL)),
    CHECK ((far_velocity IS NULL) = (far_distance IS NULL)),
    CHECK ((velocity IS NULL) = (velocity_error IS NULL) AND
           (velocity IS NULL) = (input_velocity IS NULL)),
    CHECK ((trued_bc IS NULL) = (trued_bc_error IS NULL))
);
CREATE INDEX truings_of_load ON truing_sessions (load_id, date, id);
CREATE TABLE truing_observations (
    session_id INTEGER NOT NULL REFERENCES truing_sessions(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    range REAL NOT NULL CHECK (range > 0 AND range <= 10000),
    correction REAL NOT NULL CHECK (correction BETWEEN -1e4 AND 1e4),
    error REAL CHECK (error > 0 AND error <= 1e4),
    PRIMARY KEY (session_id, number)
) WITHOUT ROWID;
CREATE TABLE truing_knots (
    session_id INTEGER NOT NULL REFERENCES truing_sessions(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    mach REAL NOT NULL CHECK (mach > 0 AND mach < 1.2),
    factor REAL NOT NULL CHECK (factor BETWEEN 0.25 AND 4),
    factor_error REAL NOT NULL CHECK (factor_error BETWEEN 0 AND 4),
    PRIMARY KEY (session_id, number)
) WITHOUT ROWID;
DROP TRIGGER velocity_strings_added;
DROP TRIGGER velocity_strings_changed;
DROP TRIGGER velocity_strings_removed;
DROP TRIGGER paper_groups_added;
DROP TRIGGER paper_groups_changed;
DROP TRIGGER paper_groups_removed;
)sql";

// The summary of version 3: kRefreshLoad with the truings.
const char* const kRefreshLoad3 = R"sql(
    UPDATE loads SET
        string_count = (SELECT count(*) FROM velocity_strings WHERE load_id = @),
        group_count = (SELECT count(*) FROM paper_groups WHERE load_id = @),
        truing_count = (SELECT count(*) FROM truing_sessions WHERE load_id = @),
        (last_date, caliber, bullet_weight_gr, bc, charge_gr) = (
            SELECT date, caliber, bullet_weight_gr, bc, charge_gr FROM (
                SELECT date, 2 AS kind, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM velocity_strings WHERE load_id = @
                UNION ALL
                SELECT date, 1, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM paper_groups WHERE load_id = @
                UNION ALL
                SELECT date, 0, id, caliber, bullet_weight_gr, bc, charge_gr
                    FROM truing_sessions WHERE load_id = @)
            ORDER BY date DESC, kind DESC, id DESC LIMIT 1)
    WHERE id = @;)sql";

int pragmaNumber(sqlite3* db, const char* pragma, int& rc) {
    SqliteStatement s(db, std::string("PRAGMA ") + pragma);
    rc = s.step();
    if (rc != SQLITE_ROW)
        return 0;
    rc = SQLITE_OK;
    return static_cast<int>(s.integer(0));
}

} // namespace

std::span<const HistoryMigration> historyMigrations() {
    static const std::vector<HistoryMigration> steps = {
        {1, kVersion1 + summaryTriggers("velocity_strings") + summaryTriggers("paper_groups")},
        {2, kVersion2},
        {3, kVersion3 + summaryTriggers("velocity_strings", kRefreshLoad3) +
                summaryTriggers("paper_groups", kRefreshLoad3) +
                summaryTriggers("truing_sessions", kRefreshLoad3)},
    };
    return steps;
}

std::string historyMarkRefusal(int version, int application, int newest) {
    if (application != kHistoryApplicationId && (application != 0 || version != 0))
        return "is an SQLite database of another program, not a load history";
    if (version > newest)
        return "was written by a newer version of Fen-drel (schema " + std::to_string(version) +
               "; this version reads up to " + std::to_string(newest) +
               "). It is left unchanged; update Fen-drel to use it";
    return {};
}

int historySchemaVersion() {
    return historyMigrations().back().version;
}

int migrateHistory(sqlite3* db, std::span<const HistoryMigration> steps, std::string& why) {
    int rc = SQLITE_OK;
    const int version = pragmaNumber(db, "user_version", rc);
    if (rc != SQLITE_OK)
        return rc;
    const int application = pragmaNumber(db, "application_id", rc);
    if (rc != SQLITE_OK)
        return rc;
    const int newest = steps.empty() ? 0 : steps.back().version;
    why = historyMarkRefusal(version, application, newest);
    if (!why.empty())
        return SQLITE_ERROR;
    if (version == 0) {
        SqliteStatement tables(db, "SELECT count(*) FROM sqlite_schema");
        if ((rc = tables.step()) != SQLITE_ROW)
            return rc;
        if (tables.integer(0) > 0) {
            why = "is an SQLite database of another program, not a load history";
            return SQLITE_ERROR;
        }
    }
    for (const HistoryMigration& step : steps) {
        if (step.version <= version)
            continue;
        if ((rc = sqliteExec(db, step.sql.c_str())) != SQLITE_OK)
            return rc;
    }
    if (version < newest) {
        const std::string mark =
            "PRAGMA user_version = " + std::to_string(newest) +
            "; PRAGMA application_id = " + std::to_string(kHistoryApplicationId) + ";";
        rc = sqliteExec(db, mark.c_str());
    }
    return rc;
}

} // namespace fendrel
