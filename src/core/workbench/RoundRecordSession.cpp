#include "RoundRecordSession.h"

#include "ReferenceList.h"
#include "core/common/Encoding.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

namespace fs = std::filesystem;

namespace fendrel {

namespace {

constexpr std::size_t kFirstFirearmField = 12;

// The record in the databases' code page.
Record stored(const RecordFields& fields, std::size_t first, std::size_t count) {
    Record r;
    for (std::size_t i = first; i < first + count && i < fields.size(); ++i)
        r.push_back(utf8ToCp1252(fields[i]));
    r.resize(count);
    return r;
}

RecordFields shown(const Record& record) {
    RecordFields f;
    for (const std::string& field : record)
        f.push_back(cp1252ToUtf8(field));
    return f;
}

std::vector<std::string> listOf(const fs::path& file) {
    std::vector<std::string> out;
    for (const std::string& entry : loadReferenceList(file))
        out.push_back(cp1252ToUtf8(entry));
    return out;
}

} // namespace

std::vector<std::string> RoundRecordSession::calibers() const {
    return listOf(resolveName(m_state.programFolder, "calibers.ini"));
}

std::vector<std::string> RoundRecordSession::makes() const {
    return listOf(resolveName(m_state.programFolder, "Makes.ini"));
}

std::size_t RoundRecordSession::caliberPosition(const std::vector<std::string>& list,
                                                const std::string& caliber) {
    std::vector<std::string> entries;
    for (const std::string& e : list)
        entries.push_back(utf8ToCp1252(e));
    return insertSorted(entries, utf8ToCp1252(caliber));
}

ValidationResult RoundRecordSession::validate(const RecordFields& f) {
    RecordNumbers n;
    n.caliber = utf8ToCp1252(f[1]);
    n.bulletWeight = utf8ToCp1252(f[2]);
    n.ballisticCoefficient = utf8ToCp1252(f[3]);
    n.sectionalDensity = utf8ToCp1252(f[4]);
    n.powderCharge = utf8ToCp1252(f[8]);
    n.muzzleVelocity = utf8ToCp1252(f[9]);
    n.firearmWeight = utf8ToCp1252(f[17]);
    return validateRecord(n);
}

std::string RoundRecordSession::suggestedDescription(const std::string& caliber,
                                                     const std::string& weight,
                                                     const std::string& bulletMake) {
    return cp1252ToUtf8(fendrel::suggestedDescription(
        utf8ToCp1252(caliber), utf8ToCp1252(weight), utf8ToCp1252(bulletMake)));
}

RoundTexts RoundRecordSession::roundTexts(const RecordFields& f) {
    RoundTexts r;
    if (f.size() < kRoundFieldCount)
        return r;
    r.description = f[0];
    r.caliber = f[1];
    r.bulletWeight = f[2];
    r.ballisticCoefficient = f[3];
    r.sectionalDensity = f[4];
    r.bulletStyle = f[6];
    r.powderCharge = f[8];
    r.muzzleVelocity = f[9];
    r.firearmWeight = f[17];
    return r;
}

bool RoundRecordSession::save(const DatabaseKind& kind, const RecordFields& record, bool replace,
                              SessionHost& host) {
    const Record bytes = stored(record, 0, kind.fieldCount);
    const Status saved = saveRecord(m_state.programFolder, kind, bytes, replace);
    if (!saved)
        host.tell(std::string(kind.fileName) + " could not be saved: " + saved.refusal +
                      ". The database on disk is unchanged.",
                  "Error", MessageIcon::Error);
    return saved.ok();
}

std::optional<std::string> RoundRecordSession::saveRound(const RecordFields& fields,
                                                         SessionHost& host) {
    if (fields[0] == kDescriptionPlaceholder) {
        host.tell("You must specify a DESCRIPTION", "Error", MessageIcon::Error);
        return std::nullopt;
    }
    const Record record = stored(fields, 0, kRoundFields);
    const fs::path db = resolveName(m_state.programFolder, kRounds.fileName);
    const bool replace =
        containsKey(db, kRounds, record[kRoundKey]) &&
        host.ask("A load with this description already exists in your database. Do you want "
                 "to replace it with this information?",
                 "Database Integrity Conflict", MessageIcon::Error);
    if (!save(kRounds, fields, replace, host))
        return std::nullopt;
    std::string status = "All round developement data on this page has been saved.  Retrieve it "
                         "for later use by loading round info and selecting this rounds "
                         "DESCRIPTION.";
    if (host.ask("Additionally would you like to separately save the firearm information?",
                 "Question?", MessageIcon::Question)) {
        if (auto firearm = saveFirearm(fields, host))
            status = *firearm;
    }
    return status;
}

std::optional<std::string> RoundRecordSession::saveFirearm(const RecordFields& fields,
                                                           SessionHost& host) {
    const RecordFields firearm(fields.begin() + kFirstFirearmField, fields.end());
    const Record record = stored(firearm, 0, kFirearmFields);
    bool replace = false;
    if (firearm[kFirearmKey] != "(optional)") {
        const fs::path db = resolveName(m_state.programFolder, kFirearms.fileName);
        replace = containsKey(db, kFirearms, record[kFirearmKey]) &&
                  host.ask("A firearm with this Serial Number already exists in your database.  "
                           "Do you want to replace it with this information?",
                           "Database Integrity Conflict", MessageIcon::Error);
    }
    if (!save(kFirearms, firearm, replace, host))
        return std::nullopt;
    return "Your firearm information has been saved...retrieve it for later use by loading "
           "firearm info";
}

std::string RoundRecordSession::askDescription(const std::string& current, SessionHost& host) {
    return host.input("Please type a new description for this round:", "Save As...", current);
}

bool RoundRecordSession::databaseUsable(const DatabaseKind& kind, SessionHost& host) {
    const fs::path db = resolveName(m_state.programFolder, kind.fileName);
    const std::string name = kind.fileName;
    if (const std::string why = databaseUnreadable(db); !why.empty()) {
        host.tell(name + " cannot be read: " + why + ".", "Error", MessageIcon::Error);
        return false;
    }
    // Records saved by earlier versions with a typed quote doubled: offered once a session.
    bool& asked = &kind == &kRounds ? m_askedRoundsRepair : m_askedFirearmsRepair;
    const auto bytes = readFileBytes(db);
    const std::size_t count = bytes ? doubledQuoteRecords(*bytes, kind) : 0;
    if (count == 0 || asked)
        return true;
    asked = true;
    const bool one = count == 1;
    const std::string text =
        name + " holds " + (one ? std::string("1 record") : std::to_string(count) + " records") +
        " saved by an earlier version of this program, which stored a double quote typed into "
        "a field as two. As they stand they load with text missing or in the wrong "
        "fields.\n\nRewrite " +
        (one ? "it" : "them") + " so that " + (one ? "it will" : "they will") +
        " load as typed? Nothing else in the file changes.";
    if (!host.ask(text, "Repair the database?", MessageIcon::Question))
        return true;
    if (const Status repaired = repairDatabase(m_state.programFolder, kind); !repaired)
        host.tell(name + " could not be repaired: " + repaired.refusal +
                      ". The database on disk is unchanged.",
                  "Error", MessageIcon::Error);
    return true;
}

std::optional<RecordFields> RoundRecordSession::load(const DatabaseKind& kind, SessionHost& host,
                                                     const Pick& pick) {
    if (!databaseUsable(kind, host))
        return std::nullopt;
    const fs::path db = resolveName(m_state.programFolder, kind.fileName);
    m_state.currentDataFile = db.string();
    const auto chosen = pick(db, static_cast<int>(kind.fieldCount));
    if (!chosen)
        return std::nullopt;
    if (auto record = recordAt(db, kind.fieldCount, *chosen))
        return shown(*record);
    return std::nullopt;
}

std::optional<RecordFields> RoundRecordSession::loadRound(SessionHost& host, const Pick& pick) {
    return load(kRounds, host, pick);
}

std::optional<RecordFields> RoundRecordSession::loadFirearm(SessionHost& host, const Pick& pick) {
    return load(kFirearms, host, pick);
}

std::optional<fs::path> RoundRecordSession::chooseFileToEdit(const Pick& pick) {
    const fs::path list = resolveName(m_state.programFolder, "editlist.txt");
    m_state.currentDataFile = list.string();
    const auto chosen = pick(list, 1);
    if (!chosen)
        return std::nullopt;
    const auto name = recordAt(list, 1, *chosen);
    if (!name)
        return std::nullopt;
    const fs::path file = resolveName(m_state.programFolder, (*name)[0]);
    m_state.currentDataFile = file.string();
    return file;
}

} // namespace fendrel
