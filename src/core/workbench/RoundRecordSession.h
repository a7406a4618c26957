// The main window's record logic: the round and firearm as typed checked and turned into the
// records of rounds.dtb and Firearms.dtb, saved after the questions the window asks, and read
// back into the fields; the lists the window offers. The window shows the fields and passes
// them on; every text here is UTF-8, the databases keep windows-1252.
#pragma once

#include "Databases.h"
#include "RoundRecord.h"
#include "core/common/SessionHost.h"
#include "core/common/SharedState.h"
#include "core/engine/RoundTexts.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fendrel {

// The fields of the main window in the order of a rounds.dtb record: description, caliber,
// bullet weight, BC, sectional density, bullet make, style, powder, charge, velocity, primer,
// case, then the firearm's make, model, year, serial number, barrel and weight.
using RecordFields = std::vector<std::string>;

class RoundRecordSession {
public:
    // The selection list shown over a file: the position of the record chosen, or nothing.
    using Pick = std::function<std::optional<std::size_t>(const std::filesystem::path& file,
                                                          int fieldCount)>;

    explicit RoundRecordSession(SharedState& state) : m_state(state) {}

    // The lists of calibers.ini and Makes.ini, sorted as the window offers them.
    std::vector<std::string> calibers() const;
    std::vector<std::string> makes() const;
    // Where a caliber not in the list joins it, so that the list stays sorted.
    static std::size_t caliberPosition(const std::vector<std::string>& list,
                                       const std::string& caliber);

    // One tick of the validation timer, and the suggested description.
    static ValidationResult validate(const RecordFields& fields);
    static std::string suggestedDescription(const std::string& caliber, const std::string& weight,
                                            const std::string& bulletMake);
    // The round as the calculation run and the tool windows read it.
    static RoundTexts roundTexts(const RecordFields& fields);

    // Save: the round, after asking to replace one of the same description, then the offer to
    // save the firearm as well. Save this info: the firearm, after asking to replace one of the
    // same serial number. Each gives the status line's new text, or nothing when nothing was
    // saved (and the user told why, when it was refused).
    std::optional<std::string> saveRound(const RecordFields& fields, SessionHost& host);
    std::optional<std::string> saveFirearm(const RecordFields& fields, SessionHost& host);
    // Save As: the new description typed over the one shown ("" when cancelled).
    static std::string askDescription(const std::string& current, SessionHost& host);

    // Load round info, Load firearm info: the record chosen from the selection list, all 18
    // fields or the 6 of the firearm; nothing when cancelled or the database cannot be read.
    std::optional<RecordFields> loadRound(SessionHost& host, const Pick& pick);
    std::optional<RecordFields> loadFirearm(SessionHost& host, const Pick& pick);
    // Tools > Edit Databases: the file chosen from editlist.txt, which becomes the current data
    // file.
    std::optional<std::filesystem::path> chooseFileToEdit(const Pick& pick);

private:
    // False (after telling why) when the database cannot be read; offers, once a session, the
    // repair of records saved by earlier versions.
    bool databaseUsable(const DatabaseKind& kind, SessionHost& host);
    std::optional<RecordFields> load(const DatabaseKind& kind, SessionHost& host,
                                     const Pick& pick);
    bool save(const DatabaseKind& kind, const RecordFields& record, bool replace,
              SessionHost& host);

    SharedState& m_state;
    bool m_askedRoundsRepair = false;
    bool m_askedFirearmsRepair = false;
};

} // namespace fendrel
