// fendrel-calc group: measures the group of a group file as the shot group window's Do It does,
// leaves the two distance dumps in the program folder and prints the results text.
#include "Commands.h"
#include "core/common/SafeFile.h"
#include "core/common/TextFile.h"
#include "core/groups/GroupFile.h"
#include "core/groups/GroupStatistics.h"

#include <cstdio>
#include <filesystem>

namespace fendrel::cli {
namespace {

// A group file of 181 rounds is a few kilobytes; anything far larger is not one.
constexpr std::size_t kGroupFileLimit = 1 << 20;

int runGroup(const std::vector<std::string>& args) {
    Options options;
    if (!parseOptions("group", args, {"program-folder"}, options))
        return 2;
    if (options.positional.size() != 1) {
        std::fprintf(stderr, "fendrel-calc group: give exactly one group file\n");
        return 2;
    }
    const std::string& file = options.positional.front();
    Status error;
    const auto bytes = readInputFile(file, kGroupFileLimit, &error);
    if (!bytes) {
        std::fprintf(stderr, "fendrel-calc group: cannot read '%s': %s\n", file.c_str(),
                     error.refusal.c_str());
        return 1;
    }
    const GroupFileRead read = readGroupFile(*bytes);
    if (!read.complete) {
        std::fprintf(stderr,
                     "fendrel-calc group: '%s' is not a group file of 2 to 181 rounds with an X "
                     "and Y for each\n",
                     file.c_str());
        return 1;
    }
    // Opening a file puts the number of rounds into its field as a whole number; the results
    // heading shows that text.
    GroupEntry entry{read.caliber, std::to_string(read.rounds), read.cells};
    const GroupEvaluation e = evaluateGroup(entry);
    if (!e.refusal.empty()) {
        std::fprintf(stderr, "fendrel-calc group: %s\n", e.refusal.c_str());
        return 1;
    }
    const std::filesystem::path folder = programFolder(options);
    if (const std::string reason = writeDistanceFiles(folder, e.measurement); !reason.empty()) {
        std::fprintf(stderr, "fendrel-calc group: cannot write %s\n", reason.c_str());
        return 1;
    }
    writeOut(e.results);
    return 0;
}

Registrar r("group", "group FILE [--program-folder DIR]", runGroup);

} // namespace
} // namespace fendrel::cli
