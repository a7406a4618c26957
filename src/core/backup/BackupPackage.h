// The backup before an upgrade: the list of user data files to carry over, the package folder
// they are copied to with the two databases, and the read-me that tells the user where the
// package is and what to do next.
#pragma once

#include "PackageFiles.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fendrel {

// The plain names of the user data files to back up, in the order they were added. A name may
// stand more than once.
class BackupList {
public:
    const std::vector<std::string>& names() const { return m_names; }

    // Appends the names of `shown` whose `selected` flag is set, first to last.
    void addSelected(const std::vector<std::string>& shown, const std::vector<bool>& selected);
    // Drops every entry whose `selected` flag is set; the others keep their order.
    void removeSelected(const std::vector<bool>& selected);
    void clear() { m_names.clear(); }

private:
    std::vector<std::string> m_names;
};

// Seconds since the local midnight, with their fraction.
double secondsSinceMidnight();

// The package folder proposed to the user: "FendrelFiles" in the home folder, followed at once
// by the seconds since midnight as a single-precision value printed with its leading blank
// ("/home/ann/FendrelFiles 45123.45").
std::string defaultPackageFolder(const std::filesystem::path& home, double seconds);

// The folder the user typed, made usable: a leading "~" stands for the home folder and a
// relative path is taken in the home folder. Other paths are kept as typed; an empty text stays
// empty.
std::filesystem::path packageFolderPath(const std::string& typed,
                                        const std::filesystem::path& home);

struct BackupOrder {
    std::filesystem::path programFolder;
    std::filesystem::path packageFolder;
    bool databases = false;         // copy rounds.dtb and the firearms database
    std::vector<std::string> files; // names in the user data folder, in order
};

struct BackupResult {
    enum class Failure { None, Folder, Copy };
    Failure failure = Failure::None;
    std::string path; // the folder or file that failed
    std::string reason;
    size_t copied = 0; // files copied before the failure (or all of them)
    bool ok() const { return failure == Failure::None; }
};

// Creates the package folder when it is missing (one level: its parent must exist), then copies
// the databases when asked (firearms first) and the listed files, first to last, each replacing
// a file of the same name in the package. Stops at the first failure; what was copied stays.
BackupResult makePackage(const BackupOrder& order, const CopyProgress& progress = {});

// The name of the read-me left on the Desktop.
inline constexpr const char* kReadmeName = "FENDREL_README.TXT";

// The seven lines of the read-me for a package, each ended by CR LF.
std::string readmeBlock(const std::string& packageFolder);

// Appends the read-me block to FENDREL_README.TXT in `folder` (an existing read-me of any case
// is kept and added to). `written` receives the file's path. Returns an empty string on success,
// otherwise the reason.
std::string appendReadme(const std::filesystem::path& folder, const std::string& packageFolder,
                         std::filesystem::path* written = nullptr);

} // namespace fendrel
