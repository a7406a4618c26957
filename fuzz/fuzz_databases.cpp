// The round and firearm databases read from arbitrary file contents: every record read has its
// field count, the workbench and the command line read the same records, a record written back
// reads back unchanged, and saving a record copies every record it keeps byte for byte.
#include "FuzzSupport.h"

#include "core/common/Encoding.h"
#include "core/engine/RoundTexts.h"
#include "core/workbench/Databases.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using fendrel::Record;

const fendrel::DatabaseKind& kindFor(std::uint8_t selector) {
    return selector % 2 ? fendrel::kFirearms : fendrel::kRounds;
}

// The records that a rewrite must carry over, in file order.
std::vector<Record> expectedAfterSave(const std::vector<Record>& before,
                                      const fendrel::DatabaseKind& kind, const Record& added,
                                      bool replaceKey) {
    std::vector<Record> out;
    for (const auto& r : before)
        if (!replaceKey || r[kind.keyField] != added[kind.keyField])
            out.push_back(r);
    out.push_back(added);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t selector = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto& kind = kindFor(selector);
    // A list of names (calibers.ini, Makes.ini) is read with one field per record.
    const std::size_t fieldCount = selector % 5 == 4 ? 1 : kind.fieldCount;

    const auto& folder = fuzz::scratchFolder();
    const auto file = fuzz::writeScratch(kind.fileName, bytes);

    const std::vector<Record> records = fendrel::readAllRecords(file, fieldCount);
    for (const auto& r : records)
        FUZZ_CHECK(r.size() == fieldCount);

    const auto lines = fendrel::selectionLines(file, fieldCount);
    FUZZ_CHECK(lines.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        FUZZ_CHECK(lines[i] == fendrel::cp1252ToUtf8(fendrel::selectionLine(records[i])));

    if (!records.empty()) {
        const std::size_t index = selector % records.size();
        const auto at = fendrel::recordAt(file, fieldCount, index);
        FUZZ_CHECK(at && *at == records[index]);
    }
    FUZZ_CHECK(!fendrel::recordAt(file, fieldCount, records.size()));

    // fendrel-calc reads a round of rounds.dtb with the same reader as the main window.
    if (fieldCount == fendrel::kRoundFields && !records.empty()) {
        const std::size_t index = (selector / 2) % records.size();
        fendrel::RoundTexts texts;
        FUZZ_CHECK(fendrel::readRound(folder, index, texts).empty());
        const fendrel::RoundTexts expected = fendrel::roundFromRecord(records[index]);
        FUZZ_CHECK(texts.description == expected.description &&
                   texts.muzzleVelocity == expected.muzzleVelocity &&
                   texts.firearmWeight == expected.firearmWeight);
    }

    // Whatever a record holds, writing it and reading it again gives it back.
    std::string rewritten;
    for (const auto& r : records)
        rewritten += fendrel::encodeDatabaseRecord(r);
    const auto again = fendrel::readAllRecords(fuzz::writeScratch("rewritten.dtb", rewritten),
                                               fieldCount);
    FUZZ_CHECK(again == records);

    if (fieldCount != kind.fieldCount)
        return 0;
    for (const auto& r : records)
        FUZZ_CHECK(fendrel::containsKey(file, kind, r[kind.keyField]));

    // Saving a record (the first one read, or a new one) rewrites the file without losing any
    // other whole record.
    Record added = records.empty() ? Record(kind.fieldCount, "new") : records.front();
    added[kind.keyField] += "\"x\"";
    const bool replaceKey = selector & 0x80;
    if (!records.empty() && (selector & 0x40))
        added[kind.keyField] = records.back()[kind.keyField];
    const auto result = fendrel::saveRecord(folder, kind, added, replaceKey);
    FUZZ_CHECK(result.ok());
    const std::string after = fuzz::readScratch(kind.fileName);
    const fendrel::ParsedDatabase before = fendrel::parseDatabase(bytes, kind.fieldCount);
    std::size_t at = 0;
    for (const auto& span : before.records) {
        if (replaceKey && span.fields[kind.keyField] == added[kind.keyField])
            continue;
        const std::string kept = bytes.substr(span.begin, span.end - span.begin);
        // A record ending in a bare CR is kept apart from one starting with LF.
        if (at > 0 && after[at - 1] == '\r' && kept[0] == '\n' && after[at] == '\n')
            ++at;
        FUZZ_CHECK(after.compare(at, kept.size(), kept) == 0);
        at += kept.size();
    }
    // What was cut short at the end is kept as a record of its own; the new record reads last.
    auto saved = fendrel::readAllRecords(file, kind.fieldCount);
    FUZZ_CHECK(!saved.empty() && saved.back() == added);
    std::vector<Record> expected = expectedAfterSave(records, kind, added, replaceKey);
    if (saved.size() == expected.size() + 1)
        saved.erase(saved.end() - 2);
    FUZZ_CHECK(saved == expected);
    return 0;
}
