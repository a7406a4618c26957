// The one way a file the user keeps is read whole and replaced: inputs refused when they are not
// plain files or are too big, replacements made through an exclusive temporary file that is
// synced and renamed into place, and the lock that serialises read-modify-write of the data in
// one folder between copies of the program.
#pragma once

#include "Result.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fendrel {

// The size above which an input file is refused rather than read into memory.
inline constexpr std::size_t kDefaultInputLimit = std::size_t{64} << 20;

// Reads a whole file. A FIFO, a device or a folder is refused without blocking, and so is a file
// above `limit` bytes. nullopt on failure, with the reason in `error` when given.
std::optional<std::string> readInputFile(const std::filesystem::path& path,
                                         std::size_t limit = kDefaultInputLimit,
                                         Status* error = nullptr);

// The file a write to `path` changes: a symbolic link is followed to its final target (which may
// not exist yet), so that writing through the link keeps the link.
std::filesystem::path writeTarget(const std::filesystem::path& path, Status* error = nullptr);

// The steps of a replacement, for tests that make one fail as a full disk or a crash would.
enum class WriteStep { CreateTemporary, Write, Sync, Rename, SyncFolder };
struct WriteFaults {
    virtual ~WriteFaults() = default;
    virtual bool failAt(WriteStep step) = 0;
};

// Replaces (or creates) the file at `path` with `bytes` so that at every instant the file on disk
// is either the whole old one or the whole new one:
// - a symbolic link is written through to its target;
// - a target that exists and is not a regular file (a device, a FIFO) is refused, never replaced;
// - the bytes go to a temporary file of a unique name beside the target, created exclusively
//   and without following links, which takes the target's mode (and owner, when we may);
// - the temporary file is synced, renamed over the target, and the folder is synced.
// On failure the target is untouched and no temporary file is left.
Status replaceFile(const std::filesystem::path& path, std::string_view bytes,
                      WriteFaults* faults = nullptr);

// A file the program can make again, replaced whole several times in a row (the output file of
// a calculation run, step by step): every stage replaces the file as replaceFile does, so a
// kill never leaves a half-written file, but only the last stage is synced (finish). The old
// copy a stage swaps out is kept under its temporary name and takes the next stage's bytes, so
// a run creates and removes one temporary file instead of one a stage. The destructor removes
// it.
class StagedFile {
public:
    explicit StagedFile(std::filesystem::path path, WriteFaults* faults = nullptr)
        : m_path(std::move(path)), m_faults(faults) {}
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    ~StagedFile();

    Status replace(std::string_view bytes);
    // Syncs the file as the last stage left it, and its folder.
    Status finish();

private:
    void dropSpare();
    std::filesystem::path m_path;
    WriteFaults* m_faults;
    std::filesystem::path m_spare;
};

// Renames a file that is complete and synced into place (replacing `to`), then syncs the
// folder, so that the rename survives a power loss.
Status renameDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// Appends by replacing: the old contents (when the file exists) followed by `bytes`, written as
// replaceFile writes.
Status appendByReplacing(const std::filesystem::path& path, std::string_view bytes,
                            std::size_t limit = kDefaultInputLimit);

// The lock that serialises changes to the program's data files in one folder between copies of
// the program. Held for one read-modify-write, never across a question to the user.
class DataLock {
public:
    static constexpr const char* kFileName = ".fendrel.lock";

    // Waits up to `wait` for the lock of `folder`. nullopt when it stays taken (error: "busy") or
    // the lock file cannot be opened.
    static std::optional<DataLock> acquire(const std::filesystem::path& folder,
                                           std::chrono::milliseconds wait,
                                           Status* error = nullptr);

    DataLock(DataLock&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    DataLock& operator=(DataLock&&) = delete;
    DataLock(const DataLock&) = delete;
    ~DataLock();

private:
    explicit DataLock(int fd) : m_fd(fd) {}
    int m_fd;
};

// How long a save waits for another copy of the program to finish its own.
inline constexpr std::chrono::milliseconds kDataLockWait{5000};

} // namespace fendrel
