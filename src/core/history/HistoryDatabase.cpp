// Opening, reading and changing history.sqlite.
#include "HistoryDatabase.h"

#include "HistorySchema.h"
#include "SqliteStatement.h"
#include "core/common/SafeFile.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <cstdio>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

// SQLITE_NOTFOUND with a sentence: the entry named by the caller is not in the history.
constexpr int kMissing = SQLITE_NOTFOUND;

struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }
};

std::string named(const fs::path& file, const std::string& why) {
    return "The load history '" + file.string() + "' " + why + ".";
}

// The URI of a file, with the characters URIs reserve escaped.
std::string fileUri(const fs::path& file) {
    std::string uri = "file:";
    for (unsigned char c : fs::absolute(file).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            uri.push_back(static_cast<char>(c));
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            uri += hex;
        }
    }
    return uri;
}

fs::path besideFile(const fs::path& file, const char* suffix) {
    return fs::path(file.string() + suffix);
}

// Opens a file for reading without changing it or leaving files beside it. A file with a WAL
// beside it may be in use and is read through SQLite's locks; a file without one is read as
// immutable, which creates no -shm or -wal file.
int openForReading(const fs::path& file, Connection& c) {
    std::error_code ec;
    const bool inUse = fs::exists(besideFile(file, "-wal"), ec);
    const std::string uri = fileUri(file) + (inUse ? "" : "?immutable=1");
    const int rc =
        sqlite3_open_v2(uri.c_str(), &c.db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (c.db)
        sqlite3_extended_result_codes(c.db, 1);
    return rc;
}

// The reason a path cannot hold a load history: missing, or not a regular file.
std::string fileKindRefusal(const fs::path& file, bool& exists) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status))
        return named(file, "is not a regular file");
    return {};
}

// Reads the 100-byte header: refuses a file that is not an SQLite database, or whose marks
// say it is newer or another program's. An empty file is a new database.
std::string headerRefusal(const fs::path& file) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return named(file, "cannot be read");
    unsigned char header[100];
    const size_t got = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    if (got == 0)
        return {};
    if (got < sizeof header || std::string_view(reinterpret_cast<char*>(header), 16) !=
                                   std::string_view("SQLite format 3\0", 16))
        return named(file, "is not a load history file (it is not an SQLite database)");
    auto be32 = [&](int at) {
        return static_cast<int>(static_cast<unsigned>(header[at]) << 24 | header[at + 1] << 16 |
                                header[at + 2] << 8 | header[at + 3]);
    };
    const std::string why = historyMarkRefusal(be32(60), be32(68), historySchemaVersion());
    return why.empty() ? why : named(file, why);
}

// True when an interrupted write left a rollback journal that the next writer must play back.
bool hotJournal(const fs::path& file) {
    std::error_code ec;
    fs::path journal = file;
    journal += "-journal";
    const auto size = fs::file_size(journal, ec);
    return !ec && size > 0;
}

int pragmaValue(sqlite3* db, const char* pragma, int& value) {
    SqliteStatement s(db, std::string("PRAGMA ") + pragma);
    const int rc = s.step();
    if (rc != SQLITE_ROW)
        return rc;
    value = static_cast<int>(s.integer(0));
    return SQLITE_OK;
}

// The marks as SQLite sees them, WAL included, through a read-only connection.
std::string markRefusalReadOnly(const fs::path& file, bool requireHistory) {
    Connection c;
    int rc = openForReading(file, c);
    int version = 0, application = 0;
    if (rc == SQLITE_OK)
        rc = pragmaValue(c.db, "user_version", version);
    if (rc == SQLITE_OK)
        rc = pragmaValue(c.db, "application_id", application);
    if (rc != SQLITE_OK)
        return sqliteFailure(c.db, rc, file);
    if (requireHistory && version == 0)
        return named(file, "is not a load history file (it holds no history tables)");
    const std::string why = historyMarkRefusal(version, application, historySchemaVersion());
    return why.empty() ? why : named(file, why);
}

// Copies every page of `from` into `to` with the online backup, retrying while a writer holds
// the source for a moment.
int copyDatabase(sqlite3* to, sqlite3* from) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return sqlite3_errcode(to);
    int rc;
    for (int attempt = 0;; ++attempt) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || attempt == 100)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const int finished = sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE ? finished : rc;
}

RoundSnapshot snapshotAt(const SqliteStatement& s, int column) {
    return {s.text(column), s.real(column + 1), s.real(column + 2), s.real(column + 3)};
}

void bindSnapshot(SqliteStatement& s, int index, const RoundSnapshot& r) {
    s.bind(index, r.caliber)
        .bind(index + 1, r.bulletWeightGr)
        .bind(index + 2, r.ballisticCoefficient)
        .bind(index + 3, r.powderChargeGr);
}

int insertShots(sqlite3* db, std::int64_t stringId, const VelocityString& v) {
    SqliteStatement s(db, "INSERT INTO string_shots (string_id, number, fps, time, clean_bore, "
                          "cold_bore, note) VALUES (?, ?, ?, nullif(?, ''), ?, ?, ?)");
    for (size_t i = 0; i < v.shotsFps.size(); ++i) {
        const ShotDetail d = i < v.shotDetails.size() ? v.shotDetails[i] : ShotDetail{};
        s.bind(1, stringId).bind(2, static_cast<std::int64_t>(i + 1)).bind(3, v.shotsFps[i]);
        s.bind(4, d.time).bind(5, std::int64_t{d.cleanBore}).bind(6, std::int64_t{d.coldBore});
        s.bind(7, d.note);
        if (const int rc = s.step(); rc != SQLITE_DONE)
            return rc;
        s.reset();
    }
    return SQLITE_OK;
}

int insertCoordinates(sqlite3* db, std::int64_t groupId, const std::vector<Shot>& shots) {
    SqliteStatement s(db,
                      "INSERT INTO group_shots (group_id, number, x_in, y_in) VALUES (?, ?, ?, ?)");
    for (size_t i = 0; i < shots.size(); ++i) {
        s.bind(1, groupId).bind(2, static_cast<std::int64_t>(i + 1)).bind(3, shots[i].x);
        s.bind(4, shots[i].y);
        if (const int rc = s.step(); rc != SQLITE_DONE)
            return rc;
        s.reset();
    }
    return SQLITE_OK;
}

// Runs a statement that returns no rows, with parameters bound by `bind`.
template <typename Bind> int run(sqlite3* db, std::string_view sql, Bind&& bind) {
    SqliteStatement s(db, sql);
    bind(s);
    const int rc = s.step();
    return rc == SQLITE_DONE || rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int loadIdFor(sqlite3* db, std::string_view description, std::int64_t& id) {
    int rc = run(db, "INSERT INTO loads (description) VALUES (?) ON CONFLICT DO NOTHING",
                 [&](SqliteStatement& s) { s.bind(1, description); });
    if (rc != SQLITE_OK)
        return rc;
    SqliteStatement s(db, "SELECT id FROM loads WHERE description = ?");
    s.bind(1, description);
    if ((rc = s.step()) != SQLITE_ROW)
        return rc == SQLITE_DONE ? SQLITE_INTERNAL : rc;
    id = s.integer(0);
    return SQLITE_OK;
}

const char* const kStringColumns =
    "date, temperature_f, note, caliber, bullet_weight_gr, bc, charge_gr, group_id";
const char* const kGroupColumns =
    "date, distance_yd, caliber_in, mean_radius_in, mean_spread_in, extreme_spread_in, "
    "median_spread_in, note, caliber, bullet_weight_gr, bc, charge_gr";

void bindString(SqliteStatement& s, const VelocityString& v) {
    s.bind(1, v.date).bind(2, v.temperatureF).bind(3, v.note);
    bindSnapshot(s, 4, v.round);
}

void bindGroup(SqliteStatement& s, const HistoryGroup& g) {
    s.bind(1, g.date).bind(2, g.distanceYd).bind(3, g.caliberIn).bind(4, g.meanRadiusIn);
    s.bind(5, g.meanSpreadIn).bind(6, g.extremeSpreadIn).bind(7, g.medianSpreadIn);
    s.bind(8, g.note);
    bindSnapshot(s, 9, g.round);
}

int insertString(sqlite3* db, std::int64_t loadId, const VelocityString& v,
                 std::int64_t groupId, std::int64_t& id) {
    int rc = run(db,
                 "INSERT INTO velocity_strings (date, temperature_f, note, caliber, "
                 "bullet_weight_gr, bc, charge_gr, load_id, group_id) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, nullif(?, 0))",
                 [&](SqliteStatement& s) {
                     bindString(s, v);
                     s.bind(8, loadId).bind(9, groupId);
                 });
    if (rc != SQLITE_OK)
        return rc;
    id = sqlite3_last_insert_rowid(db);
    return insertShots(db, id, v);
}

int insertGroup(sqlite3* db, std::int64_t loadId, const HistoryGroup& g, std::int64_t& id) {
    int rc = run(db,
                 "INSERT INTO paper_groups (date, distance_yd, caliber_in, mean_radius_in, "
                 "mean_spread_in, extreme_spread_in, median_spread_in, note, caliber, "
                 "bullet_weight_gr, bc, charge_gr, load_id) "
                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                 [&](SqliteStatement& s) {
                     bindGroup(s, g);
                     s.bind(13, loadId);
                 });
    if (rc != SQLITE_OK)
        return rc;
    id = sqlite3_last_insert_rowid(db);
    return insertCoordinates(db, id, g.shots);
}

const char* const kTruingColumns =
    "date, kind, card, metric, unit, near_velocity, near_distance, near_error, far_velocity, "
    "far_distance, far_error, velocity, velocity_error, input_velocity, trued_bc, "
    "trued_bc_error, note, caliber, bullet_weight_gr, bc, charge_gr";

void bindMeasured(SqliteStatement& s, int index, const std::optional<MeasuredVelocity>& v) {
    s.bind(index, v ? std::optional(v->velocity) : std::nullopt)
        .bind(index + 1, v ? std::optional(v->distance) : std::nullopt)
        .bind(index + 2, v ? v->error : std::nullopt);
}

std::optional<MeasuredVelocity> measuredAt(const SqliteStatement& s, int column) {
    if (s.isNull(column))
        return std::nullopt;
    MeasuredVelocity v{s.real(column), s.real(column + 1), std::nullopt};
    if (!s.isNull(column + 2))
        v.error = s.real(column + 2);
    return v;
}

int insertTruing(sqlite3* db, std::int64_t loadId, const TruingSession& t, std::int64_t& id) {
    const auto& v = t.velocity;
    const auto& b = t.ballisticCoefficient;
    int rc = run(db,
                 std::string("INSERT INTO truing_sessions (") + kTruingColumns +
                     ", load_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                     "?, ?, ?)",
                 [&](SqliteStatement& s) {
                     s.bind(1, t.date).bind(2, truingKindName(t.kind)).bind(3, t.card);
                     s.bind(4, std::int64_t{t.metric});
                     s.bind(5, t.unit == ClickUnit::Moa ? "moa" : "mil");
                     bindMeasured(s, 6, t.nearVelocity);
                     bindMeasured(s, 9, t.farVelocity);
                     s.bind(12, v ? std::optional(v->velocity) : std::nullopt)
                         .bind(13, v ? std::optional(v->standardError) : std::nullopt)
                         .bind(14, v ? std::optional(v->inputVelocity) : std::nullopt)
                         .bind(15, b ? std::optional(b->ballisticCoefficient) : std::nullopt)
                         .bind(16, b ? std::optional(b->standardError) : std::nullopt);
                     s.bind(17, t.note);
                     bindSnapshot(s, 18, t.round);
                     s.bind(22, loadId);
                 });
    if (rc != SQLITE_OK)
        return rc;
    id = sqlite3_last_insert_rowid(db);
    SqliteStatement o(db, "INSERT INTO truing_observations (session_id, number, range, "
                          "correction, error) VALUES (?, ?, ?, ?, ?)");
    for (size_t i = 0; i < t.observations.size(); ++i) {
        const ObservedCorrection& c = t.observations[i];
        o.bind(1, id).bind(2, static_cast<std::int64_t>(i + 1)).bind(3, c.range);
        o.bind(4, c.correction).bind(5, c.error);
        if ((rc = o.step()) != SQLITE_DONE)
            return rc;
        o.reset();
    }
    SqliteStatement k(db, "INSERT INTO truing_knots (session_id, number, mach, factor, "
                          "factor_error) VALUES (?, ?, ?, ?, ?)");
    for (size_t i = 0; i < t.knots.size(); ++i) {
        k.bind(1, id).bind(2, static_cast<std::int64_t>(i + 1)).bind(3, t.knots[i].mach);
        k.bind(4, t.knots[i].factor).bind(5, t.factorErrors[i]);
        if ((rc = k.step()) != SQLITE_DONE)
            return rc;
        k.reset();
    }
    return SQLITE_OK;
}

// The truings of a load in the order of load(), with their observations and knots.
int readTruings(sqlite3* db, std::int64_t loadId, std::vector<TruingSession>& out) {
    SqliteStatement head(db, std::string("SELECT id, ") + kTruingColumns +
                                 " FROM truing_sessions WHERE load_id = ? ORDER BY date, id");
    head.bind(1, loadId);
    int rc;
    while ((rc = head.step()) == SQLITE_ROW) {
        TruingSession t;
        t.id = head.integer(0);
        t.date = head.text(1);
        if (!truingKindFromName(head.text(2), t.kind))
            return SQLITE_CORRUPT;
        t.card = head.text(3);
        t.metric = head.integer(4) != 0;
        t.unit = head.text(5) == "mil" ? ClickUnit::Mil : ClickUnit::Moa;
        t.nearVelocity = measuredAt(head, 6);
        t.farVelocity = measuredAt(head, 9);
        if (!head.isNull(12))
            t.velocity = TruedVelocity{head.real(12), head.real(13), head.real(14)};
        if (!head.isNull(15))
            t.ballisticCoefficient = TruedBallisticCoefficient{head.real(15), head.real(16)};
        t.note = head.text(17);
        t.round = snapshotAt(head, 18);
        out.push_back(std::move(t));
    }
    if (rc != SQLITE_DONE)
        return rc;
    // Observations and knots come in the order of their truings; `at` follows along.
    auto attach = [&](const char* sql, auto&& add) {
        SqliteStatement s(db, sql);
        s.bind(1, loadId);
        size_t at = 0;
        int step;
        while ((step = s.step()) == SQLITE_ROW) {
            while (at < out.size() && out[at].id != s.integer(0))
                ++at;
            if (at == out.size())
                return SQLITE_CORRUPT;
            add(out[at], s);
        }
        return step == SQLITE_DONE ? SQLITE_OK : step;
    };
    rc = attach("SELECT t.id, o.range, o.correction, o.error FROM truing_sessions t "
                "JOIN truing_observations o ON o.session_id = t.id WHERE t.load_id = ? "
                "ORDER BY t.date, t.id, o.number",
                [](TruingSession& t, const SqliteStatement& s) {
                    t.observations.push_back({s.real(1), s.real(2), std::nullopt});
                    if (!s.isNull(3))
                        t.observations.back().error = s.real(3);
                });
    if (rc != SQLITE_OK)
        return rc;
    return attach("SELECT t.id, k.mach, k.factor, k.factor_error FROM truing_sessions t "
                  "JOIN truing_knots k ON k.session_id = t.id WHERE t.load_id = ? "
                  "ORDER BY t.date, t.id, k.number",
                  [](TruingSession& t, const SqliteStatement& s) {
                      t.knots.push_back({s.real(1), s.real(2)});
                      t.factorErrors.push_back(s.real(3));
                  });
}

// The first string of the history with this date and exactly these shots, in any load.
int findSameString(sqlite3* db, std::string_view date, const std::vector<double>& shots,
                   ImportedString& found) {
    SqliteStatement strings(db, "SELECT s.id, l.description FROM velocity_strings s "
                                "JOIN loads l ON l.id = s.load_id WHERE s.date = ? "
                                "ORDER BY s.id");
    strings.bind(1, date);
    int rc;
    while ((rc = strings.step()) == SQLITE_ROW) {
        SqliteStatement fps(db, "SELECT fps FROM string_shots WHERE string_id = ? "
                                "ORDER BY number");
        fps.bind(1, strings.integer(0));
        size_t k = 0;
        bool same = true;
        while ((rc = fps.step()) == SQLITE_ROW) {
            same = same && k < shots.size() && fps.real(0) == shots[k];
            ++k;
        }
        if (rc != SQLITE_DONE)
            return rc;
        if (same && k == shots.size()) {
            found = {strings.integer(0), strings.text(1)};
            return SQLITE_OK;
        }
    }
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

const char* const kNoEntry = "This entry is no longer in the load history.";

// The tables with their columns, the indexes and the triggers a history of this version holds,
// read from a history made afresh in memory: "table name", "column table.name", "index name",
// "trigger name".
const std::vector<std::string>& expectedSchema() {
    static const std::vector<std::string> objects = [] {
        std::vector<std::string> out;
        Connection c;
        std::string why;
        if (sqlite3_open(":memory:", &c.db) != SQLITE_OK ||
            migrateHistory(c.db, historyMigrations(), why) != SQLITE_OK)
            return out;
        SqliteStatement list(c.db, "SELECT type, name FROM sqlite_schema "
                                   "WHERE name NOT LIKE 'sqlite_%' ORDER BY type, name");
        while (list.step() == SQLITE_ROW) {
            out.push_back(list.text(0) + " " + list.text(1));
            if (list.text(0) != "table")
                continue;
            SqliteStatement columns(c.db, "SELECT name FROM pragma_table_info(?)");
            columns.bind(1, list.text(1));
            while (columns.step() == SQLITE_ROW)
                out.push_back("column " + list.text(1) + "." + columns.text(0));
        }
        return out;
    }();
    return objects;
}

// Names the first table, column, index or trigger of this version that the file lacks (a file
// damaged or edited by hand can pass SQLite's integrity check and still miss one). Empty when
// everything is there; an SQLite failure comes back in `rc`.
std::string missingSchemaObject(sqlite3* db, int& rc) {
    for (const std::string& object : expectedSchema()) {
        const auto space = object.find(' ');
        const std::string kind = object.substr(0, space), name = object.substr(space + 1);
        SqliteStatement s(db, kind == "column"
                                  ? "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2"
                                  : "SELECT 1 FROM sqlite_schema WHERE type = ?1 AND name = ?2");
        const auto dot = name.find('.');
        if (kind == "column")
            s.bind(1, name.substr(0, dot)).bind(2, name.substr(dot + 1));
        else
            s.bind(1, kind).bind(2, name);
        rc = s.step();
        if (rc == SQLITE_DONE) {
            rc = SQLITE_OK;
            return kind == "column" ? "the column " + name.substr(dot + 1) + " of the table " +
                                          name.substr(0, dot)
                                    : "the " + kind + " " + name;
        }
        if (rc != SQLITE_ROW)
            return {};
        rc = SQLITE_OK;
    }
    return {};
}

// The refusal of a file that lacks part of this version's schema, or of an SQLite failure.
std::string schemaRefusal(sqlite3* db, const fs::path& file) {
    int rc = SQLITE_OK;
    const std::string missing = missingSchemaObject(db, rc);
    if (rc != SQLITE_OK)
        return sqliteFailure(db, rc, file);
    return missing.empty() ? missing
                           : named(file, "is damaged: " + missing +
                                             " is missing. Restore it from a backup");
}

} // namespace

fs::path HistoryDatabase::backupPartOf(const fs::path& destination) {
    return destination.parent_path() / ("." + destination.filename().string() + ".part");
}

HistoryDatabase::HistoryDatabase(sqlite3* db, fs::path file) : m_db(db), m_file(std::move(file)) {}

HistoryDatabase::~HistoryDatabase() {
    sqlite3_close_v2(m_db);
}

HistoryDatabase::Opening HistoryDatabase::open(const fs::path& folder, WhenAbsent whenAbsent) {
    return openFile(folder / kFileName, whenAbsent);
}

HistoryDatabase::Opening HistoryDatabase::openFile(const fs::path& file, WhenAbsent whenAbsent) {
    Opening o;
    bool exists = false;
    if ((o.refusal = fileKindRefusal(file, exists)).size())
        return o;
    if (!exists && whenAbsent == WhenAbsent::Report) {
        o.absent = true;
        return o;
    }
    // A file of a newer version or another program is refused before it is opened for writing:
    // first by the bytes of its header, then as SQLite sees it (a WAL may hold a newer header)
    // through a read-only connection. A write cut short by a crash leaves a hot journal beside
    // the file, and until it is rolled back the file's own bytes say nothing reliable: then the
    // marks are checked after the rollback, inside the first transaction, which still changes
    // nothing in a file that is refused.
    if (exists && !hotJournal(file)) {
        if ((o.refusal = headerRefusal(file)).size())
            return o;
        if ((o.refusal = markRefusalReadOnly(file, false)).size())
            return o;
    }

    Connection c;
    int rc = sqlite3_open_v2(file.c_str(), &c.db,
                             SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE), nullptr);
    if (c.db) {
        sqlite3_extended_result_codes(c.db, 1);
        sqlite3_busy_timeout(c.db, 5000);
    }
    if (rc == SQLITE_OK)
        rc = sqliteExec(c.db, "PRAGMA foreign_keys = ON; PRAGMA synchronous = FULL;");
    // The tables first, so that a file refused here has not been touched.
    if (rc == SQLITE_OK)
        rc = sqliteExec(c.db, "BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) {
        std::string why;
        rc = migrateHistory(c.db, historyMigrations(), why);
        if (rc == SQLITE_OK)
            rc = sqliteExec(c.db, "COMMIT");
        if (rc != SQLITE_OK) {
            o.refusal = why.empty() ? sqliteFailure(c.db, rc, file) : named(file, why);
            sqliteExec(c.db, "ROLLBACK");
            return o;
        }
    }
    if (rc == SQLITE_OK) {
        // Fails only where WAL is impossible (a network share); the file then keeps its
        // rollback journal, which is as safe but slower.
        SqliteStatement wal(c.db, "PRAGMA journal_mode = WAL");
        const int step = wal.step();
        rc = step == SQLITE_ROW ? SQLITE_OK : step;
    }
    if (rc != SQLITE_OK) {
        o.refusal = sqliteFailure(c.db, rc, file);
        return o;
    }
    if ((o.refusal = schemaRefusal(c.db, file)).size())
        return o;
    o.database.reset(new HistoryDatabase(c.db, file));
    c.db = nullptr;
    return o;
}

HistoryDatabase::Opening HistoryDatabase::openReadOnly(const fs::path& folder) {
    Opening o;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        const int err = errno;
        o.refusal = "The program folder '" + folder.string() + "' " +
                    (S_ISDIR(info.st_mode) || info.st_mode == 0
                         ? (err == ENOENT ? std::string("does not exist.")
                                          : "cannot be read (" + std::string(std::strerror(err)) +
                                                ").")
                         : std::string("is not a folder."));
        return o;
    }
    const fs::path file = folder / kFileName;
    if (::stat(file.c_str(), &info) != 0) {
        if (errno == ENOENT)
            o.absent = true;
        else
            o.refusal = named(file, std::string("cannot be read (") + std::strerror(errno) + ")");
        return o;
    }
    if (!S_ISREG(info.st_mode)) {
        o.refusal = named(file, "is not a regular file");
        return o;
    }
    if (info.st_size == 0) { // what SQLite takes for a new, empty database: no loads yet
        o.absent = true;
        return o;
    }
    if ((o.refusal = headerRefusal(file)).size() ||
        (o.refusal = markRefusalReadOnly(file, true)).size())
        return o;

    Connection c;
    int rc = openForReading(file, c);
    int version = 0;
    if (rc == SQLITE_OK)
        rc = pragmaValue(c.db, "user_version", version);
    // An older history is read through a copy in memory brought up to date there.
    if (rc == SQLITE_OK && version < historySchemaVersion()) {
        Connection memory;
        std::string why;
        rc = sqlite3_open(":memory:", &memory.db);
        if (rc == SQLITE_OK)
            rc = copyDatabase(memory.db, c.db);
        if (rc == SQLITE_OK)
            rc = migrateHistory(memory.db, historyMigrations(), why);
        if (rc == SQLITE_OK) // the copy is read only, as the file is
            rc = sqliteExec(memory.db, "PRAGMA query_only = ON");
        if (rc != SQLITE_OK) {
            o.refusal = why.empty() ? sqliteFailure(c.db, rc, file) : named(file, why);
            return o;
        }
        std::swap(c.db, memory.db);
    }
    if (rc != SQLITE_OK) {
        o.refusal = sqliteFailure(c.db, rc, file);
        return o;
    }
    if ((o.refusal = schemaRefusal(c.db, file)).size())
        return o;
    o.database.reset(new HistoryDatabase(c.db, file));
    c.db = nullptr;
    return o;
}

Status HistoryDatabase::checkFile(const fs::path& file) {
    bool exists = false;
    std::string why = fileKindRefusal(file, exists);
    if (why.empty() && !exists)
        why = named(file, "does not exist");
    if (why.empty())
        why = headerRefusal(file);
    if (why.empty())
        why = markRefusalReadOnly(file, true);
    if (!why.empty())
        return {why};
    Connection c;
    int rc = openForReading(file, c);
    if (rc != SQLITE_OK)
        return {sqliteFailure(c.db, rc, file)};
    {
        SqliteStatement s(c.db, "PRAGMA integrity_check");
        rc = s.step();
        if (rc == SQLITE_ROW && s.text(0) != "ok")
            return {named(file, "is damaged (" + s.text(0) + ")")};
    }
    if (rc == SQLITE_ROW) {
        SqliteStatement s(c.db, "PRAGMA foreign_key_check");
        rc = s.step();
        if (rc == SQLITE_ROW)
            return {named(file, "is damaged (entries without their load)")};
    }
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        return {sqliteFailure(c.db, rc, file)};
    // An older file is complete for its own version; it is brought up to date when opened.
    int version = 0;
    if (pragmaValue(c.db, "user_version", version) == SQLITE_OK &&
        version == historySchemaVersion())
        return {schemaRefusal(c.db, file)};
    return {};
}

Status HistoryDatabase::failure(int rc) const {
    return {sqliteFailure(m_db, rc, m_file)};
}

template <typename Body> Status HistoryDatabase::inTransaction(Body&& body) {
    int rc = sqliteExec(m_db, "BEGIN IMMEDIATE");
    if (rc != SQLITE_OK)
        return failure(rc);
    std::string why;
    rc = body(why);
    if (rc == SQLITE_OK)
        rc = sqliteExec(m_db, "COMMIT");
    if (rc == SQLITE_OK)
        return {};
    Status refused = why.empty() ? failure(rc) : Status::refused(why);
    sqliteExec(m_db, "ROLLBACK");
    return refused;
}

Result<std::vector<LoadSummary>> HistoryDatabase::loads() const {
    using R = Result<std::vector<LoadSummary>>;
    SqliteStatement s(m_db, "SELECT id, description, string_count, group_count, truing_count, "
                            "last_date, caliber, bullet_weight_gr, bc, charge_gr FROM loads "
                            "ORDER BY description");
    R r;
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) {
        r.value.push_back({s.integer(0), s.text(1), static_cast<int>(s.integer(2)),
                           static_cast<int>(s.integer(3)), static_cast<int>(s.integer(4)),
                           s.text(5), snapshotAt(s, 6)});
    }
    return rc == SQLITE_DONE ? r : R::refused(failure(rc).refusal);
}

Result<std::int64_t> HistoryDatabase::findLoad(std::string_view description) const {
    using R = Result<std::int64_t>;
    SqliteStatement s(m_db, "SELECT id FROM loads WHERE description = ?");
    s.bind(1, description);
    const int rc = s.step();
    if (rc == SQLITE_ROW)
        return R::done(s.integer(0));
    return rc == SQLITE_DONE ? R::done(0) : R::refused(failure(rc).refusal);
}

Result<LoadHistory> HistoryDatabase::load(std::int64_t loadId) const {
    using R = Result<LoadHistory>;
    // One read transaction, so that entries and their shots come from the same moment.
    int rc = sqliteExec(m_db, "BEGIN");
    if (rc != SQLITE_OK)
        return R::refused(failure(rc).refusal);
    R r;
    auto read = [&]() -> int {
        LoadHistory& h = r.value;
        SqliteStatement head(m_db, "SELECT description FROM loads WHERE id = ?");
        head.bind(1, loadId);
        if (int rc = head.step(); rc != SQLITE_ROW)
            return rc == SQLITE_DONE ? kMissing : rc;
        h.id = loadId;
        h.description = head.text(0);

        SqliteStatement strings(m_db, std::string("SELECT id, ") + kStringColumns +
                                          " FROM velocity_strings WHERE load_id = ? "
                                          "ORDER BY date, id");
        strings.bind(1, loadId);
        int rc;
        while ((rc = strings.step()) == SQLITE_ROW) {
            VelocityString v;
            v.id = strings.integer(0);
            v.date = strings.text(1);
            if (!strings.isNull(2))
                v.temperatureF = strings.real(2);
            v.note = strings.text(3);
            v.round = snapshotAt(strings, 4);
            v.groupId = strings.isNull(8) ? 0 : strings.integer(8);
            h.strings.push_back(std::move(v));
        }
        if (rc != SQLITE_DONE)
            return rc;
        SqliteStatement shots(m_db, "SELECT s.id, h.fps, ifnull(h.time, ''), h.clean_bore, "
                                    "h.cold_bore, h.note FROM velocity_strings s "
                                    "JOIN string_shots h ON h.string_id = s.id "
                                    "WHERE s.load_id = ? ORDER BY s.date, s.id, h.number");
        shots.bind(1, loadId);
        size_t k = 0;
        while ((rc = shots.step()) == SQLITE_ROW) {
            while (k < h.strings.size() && h.strings[k].id != shots.integer(0))
                ++k;
            if (k == h.strings.size())
                return SQLITE_CORRUPT;
            VelocityString& v = h.strings[k];
            v.shotsFps.push_back(shots.real(1));
            ShotDetail d{shots.text(2), shots.integer(3) != 0, shots.integer(4) != 0,
                         shots.text(5)};
            if (d != ShotDetail{}) { // a string typed by hand keeps no details
                v.shotDetails.resize(v.shotsFps.size() - 1);
                v.shotDetails.push_back(std::move(d));
            }
        }
        if (rc != SQLITE_DONE)
            return rc;

        SqliteStatement groups(m_db, std::string("SELECT id, ") + kGroupColumns +
                                         " FROM paper_groups WHERE load_id = ? "
                                         "ORDER BY date, id");
        groups.bind(1, loadId);
        while ((rc = groups.step()) == SQLITE_ROW) {
            HistoryGroup g;
            g.id = groups.integer(0);
            g.date = groups.text(1);
            g.distanceYd = groups.real(2);
            g.caliberIn = groups.real(3);
            g.meanRadiusIn = groups.real(4);
            g.meanSpreadIn = groups.real(5);
            g.extremeSpreadIn = groups.real(6);
            g.medianSpreadIn = groups.real(7);
            g.note = groups.text(8);
            g.round = snapshotAt(groups, 9);
            h.groups.push_back(std::move(g));
        }
        if (rc != SQLITE_DONE)
            return rc;
        SqliteStatement points(m_db, "SELECT g.id, p.x_in, p.y_in FROM paper_groups g "
                                     "JOIN group_shots p ON p.group_id = g.id "
                                     "WHERE g.load_id = ? ORDER BY g.date, g.id, p.number");
        points.bind(1, loadId);
        k = 0;
        while ((rc = points.step()) == SQLITE_ROW) {
            while (k < h.groups.size() && h.groups[k].id != points.integer(0))
                ++k;
            if (k == h.groups.size())
                return SQLITE_CORRUPT;
            h.groups[k].shots.push_back({points.real(1), points.real(2)});
        }
        return rc == SQLITE_DONE ? readTruings(m_db, loadId, h.truings) : rc;
    };
    rc = read();
    if (rc != SQLITE_OK)
        r = R::refused(rc == kMissing ? "This load is no longer in the load history."
                                      : failure(rc).refusal);
    sqliteExec(m_db, "COMMIT");
    return r;
}

template <typename Insert>
Result<std::int64_t> HistoryDatabase::addEntry(std::string_view description,
                                               const std::string& why, Insert&& insert) {
    using R = Result<std::int64_t>;
    if (std::string bad = checkDescription(description); !bad.empty())
        return R::refused(bad);
    if (!why.empty())
        return R::refused(why);
    std::int64_t id = 0;
    const Status done = inTransaction([&](std::string&) {
        std::int64_t loadId = 0;
        const int rc = loadIdFor(m_db, description, loadId);
        return rc == SQLITE_OK ? insert(loadId, id) : rc;
    });
    return done ? R::done(id) : R::refused(done.refusal);
}

Result<std::int64_t> HistoryDatabase::addString(std::string_view description,
                                                const VelocityString& v) {
    return addEntry(description, checkString(v), [&](std::int64_t load, std::int64_t& id) {
        return insertString(m_db, load, v, 0, id);
    });
}

Result<std::int64_t> HistoryDatabase::addGroup(std::string_view description,
                                               const HistoryGroup& g) {
    return addEntry(description, checkGroup(g), [&](std::int64_t load, std::int64_t& id) {
        return insertGroup(m_db, load, g, id);
    });
}

Result<std::int64_t> HistoryDatabase::addTruing(std::string_view description,
                                                const TruingSession& t) {
    return addEntry(description, checkTruing(t), [&](std::int64_t load, std::int64_t& id) {
        return insertTruing(m_db, load, t, id);
    });
}

Result<std::vector<TruingSession>> HistoryDatabase::truings(std::int64_t loadId) const {
    using R = Result<std::vector<TruingSession>>;
    int rc = sqliteExec(m_db, "BEGIN");
    if (rc != SQLITE_OK)
        return R::refused(failure(rc).refusal);
    R r;
    SqliteStatement head(m_db, "SELECT 1 FROM loads WHERE id = ?");
    head.bind(1, loadId);
    rc = head.step();
    rc = rc == SQLITE_ROW ? readTruings(m_db, loadId, r.value) : rc == SQLITE_DONE ? kMissing : rc;
    if (rc != SQLITE_OK)
        r = R::refused(rc == kMissing ? "This load is no longer in the load history."
                                      : failure(rc).refusal);
    sqliteExec(m_db, "COMMIT");
    return r;
}

Result<ImportedString> HistoryDatabase::findImported(std::string_view date,
                                                     const std::vector<double>& shotsFps) const {
    using R = Result<ImportedString>;
    ImportedString found;
    const int rc = findSameString(m_db, date, shotsFps, found);
    return rc == SQLITE_OK ? R::done(std::move(found)) : R::refused(failure(rc).refusal);
}

Result<std::vector<SeriesPreview>>
HistoryDatabase::previewSeries(std::span<const ChronographSeries> series,
                               const SeriesImportOptions& options) const {
    using R = Result<std::vector<SeriesPreview>>;
    R r;
    for (const ChronographSeries& s : series) {
        SeriesPreview p = previewOf(s, options);
        ImportedString same;
        if (const int rc = findSameString(m_db, p.date, s.speedsFps(), same); rc != SQLITE_OK)
            return R::refused(failure(rc).refusal);
        p.duplicateOf = same.id;
        p.duplicateLoad = same.load;
        r.value.push_back(std::move(p));
    }
    return r;
}

Result<SeriesImportOutcome>
HistoryDatabase::importSeries(std::string_view description,
                              std::span<const ChronographSeries> series,
                              const SeriesImportOptions& options) {
    using R = Result<SeriesImportOutcome>;
    if (std::string why = checkDescription(description); !why.empty())
        return R::refused(why);
    // Every entry is made and checked before anything is written.
    SeriesImportOutcome out;
    std::vector<VelocityString> strings;
    std::vector<std::optional<HistoryGroup>> groups;
    for (const ChronographSeries& s : series) {
        auto entries = entriesOf(s, options);
        if (!entries)
            return R::refused(entries.refusal);
        if (!entries.value.groupNotice.empty())
            out.notices.push_back(entries.value.groupNotice);
        strings.push_back(std::move(entries.value.string));
        groups.push_back(std::move(entries.value.group));
    }
    const Status done = inTransaction([&](std::string&) {
        std::int64_t loadId = 0;
        int rc = loadIdFor(m_db, description, loadId);
        for (size_t i = 0; i < strings.size() && rc == SQLITE_OK; ++i) {
            ImportedString same;
            std::int64_t stringId = 0, groupId = 0;
            if ((rc = findSameString(m_db, strings[i].date, strings[i].shotsFps, same)) !=
                SQLITE_OK)
                break;
            if (same.id != 0) {
                out.notices.push_back("'" + series[i].name + "' of " + strings[i].date +
                                      " is already in the load history (load '" + same.load +
                                      "') and is not imported again.");
            } else {
                if (groups[i])
                    rc = insertGroup(m_db, loadId, *groups[i], groupId);
                if (rc == SQLITE_OK)
                    rc = insertString(m_db, loadId, strings[i], groupId, stringId);
            }
            out.stringIds.push_back(stringId);
            out.groupIds.push_back(groupId);
        }
        return rc == SQLITE_OK ? removeIfEmpty(loadId) : rc;
    });
    return done ? R::done(std::move(out)) : R::refused(done.refusal);
}

Status HistoryDatabase::updateString(const VelocityString& v) {
    if (std::string why = checkString(v); !why.empty())
        return {why};
    return inTransaction([&](std::string& why) {
        int rc = run(m_db,
                     "UPDATE velocity_strings SET date = ?, temperature_f = ?, note = ?, "
                     "caliber = ?, bullet_weight_gr = ?, bc = ?, charge_gr = ? WHERE id = ?",
                     [&](SqliteStatement& s) {
                         bindString(s, v);
                         s.bind(8, v.id);
                     });
        if (rc != SQLITE_OK)
            return rc;
        if (sqlite3_changes(m_db) == 0) {
            why = kNoEntry;
            return kMissing;
        }
        rc = run(m_db, "DELETE FROM string_shots WHERE string_id = ?",
                 [&](SqliteStatement& s) { s.bind(1, v.id); });
        return rc == SQLITE_OK ? insertShots(m_db, v.id, v) : rc;
    });
}

Status HistoryDatabase::updateGroup(const HistoryGroup& g) {
    if (std::string why = checkGroup(g); !why.empty())
        return {why};
    return inTransaction([&](std::string& why) {
        int rc = run(m_db,
                     "UPDATE paper_groups SET date = ?, distance_yd = ?, caliber_in = ?, "
                     "mean_radius_in = ?, mean_spread_in = ?, extreme_spread_in = ?, "
                     "median_spread_in = ?, note = ?, caliber = ?, bullet_weight_gr = ?, "
                     "bc = ?, charge_gr = ? WHERE id = ?",
                     [&](SqliteStatement& s) {
                         bindGroup(s, g);
                         s.bind(13, g.id);
                     });
        if (rc != SQLITE_OK)
            return rc;
        if (sqlite3_changes(m_db) == 0) {
            why = kNoEntry;
            return kMissing;
        }
        rc = run(m_db, "DELETE FROM group_shots WHERE group_id = ?",
                 [&](SqliteStatement& s) { s.bind(1, g.id); });
        return rc == SQLITE_OK ? insertCoordinates(m_db, g.id, g.shots) : rc;
    });
}

int HistoryDatabase::removeIfEmpty(std::int64_t loadId) {
    return run(m_db,
               "DELETE FROM loads WHERE id = ? AND string_count = 0 AND group_count = 0 AND "
               "truing_count = 0",
               [&](SqliteStatement& s) { s.bind(1, loadId); });
}

Status HistoryDatabase::deleteString(std::int64_t id) {
    return deleteEntry("velocity_strings", id);
}

Status HistoryDatabase::deleteGroup(std::int64_t id) {
    return deleteEntry("paper_groups", id);
}

Status HistoryDatabase::deleteTruing(std::int64_t id) {
    return deleteEntry("truing_sessions", id);
}

Status HistoryDatabase::deleteEntry(const std::string& table, std::int64_t id) {
    return inTransaction([&](std::string& why) {
        SqliteStatement owner(m_db, "SELECT load_id FROM " + table + " WHERE id = ?");
        owner.bind(1, id);
        int rc = owner.step();
        if (rc != SQLITE_ROW) {
            why = rc == SQLITE_DONE ? kNoEntry : "";
            return rc == SQLITE_DONE ? kMissing : rc;
        }
        rc = run(m_db, "DELETE FROM " + table + " WHERE id = ?",
                 [&](SqliteStatement& s) { s.bind(1, id); });
        return rc == SQLITE_OK ? removeIfEmpty(owner.integer(0)) : rc;
    });
}

Status HistoryDatabase::deleteLoad(std::int64_t loadId) {
    return inTransaction([&](std::string& why) {
        const int rc = run(m_db, "DELETE FROM loads WHERE id = ?",
                           [&](SqliteStatement& s) { s.bind(1, loadId); });
        if (rc == SQLITE_OK && sqlite3_changes(m_db) == 0) {
            why = "This load is no longer in the load history.";
            return kMissing;
        }
        return rc;
    });
}

Status HistoryDatabase::checkIntegrity() const {
    for (const char* pragma : {"PRAGMA integrity_check", "PRAGMA foreign_key_check"}) {
        SqliteStatement s(m_db, pragma);
        const int rc = s.step();
        const bool integrity = pragma[7] == 'i';
        if (rc == SQLITE_ROW && !(integrity && s.text(0) == "ok"))
            return {named(m_file, integrity ? "is damaged (" + s.text(0) + ")"
                                            : "is damaged (entries without their load)")};
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            return failure(rc);
    }
    return {};
}

Status HistoryDatabase::backupTo(const fs::path& destination) const {
    // The copy is made under a hidden name beside the destination and renamed into place when
    // complete and checked; a copy left by a backup that was killed is removed first.
    const fs::path part = backupPartOf(destination);
    std::error_code ec;
    fs::remove(part, ec);
    sqlite3* to = nullptr;
    int rc =
        sqlite3_open_v2(part.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = copyDatabase(to, m_db);
    const Status copied{rc == SQLITE_OK ? "" : sqliteFailure(to, rc, part)};
    sqlite3_close_v2(to);
    if (!copied) {
        fs::remove(part, ec);
        return copied;
    }
    Status checked = checkFile(part);
    if (checked) {
        if (const Status moved = renameDurably(part, destination); !moved.ok())
            checked.refusal = "The backup of the load history cannot be written to '" +
                              destination.string() + "' (" + moved.refusal + ").";
    }
    if (!checked)
        fs::remove(part, ec);
    return checked;
}

Status HistoryDatabase::restoreFrom(const fs::path& source) {
    if (Status checked = checkFile(source); !checked)
        return checked;
    Connection from;
    if (const int rc = openForReading(source, from); rc != SQLITE_OK)
        return {sqliteFailure(from.db, rc, source)};
    if (const int rc = copyDatabase(m_db, from.db); rc != SQLITE_OK)
        return failure(rc);
    return inTransaction(
        [&](std::string& why) { return migrateHistory(m_db, historyMigrations(), why); });
}

} // namespace fendrel
