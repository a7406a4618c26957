// Reading inputs whole, replacing files safely, and the data lock.
#include "SafeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fendrel {

namespace {

Status systemError(int err) { return Status::refused(std::strerror(err), err); }

void report(Status* out, Status error) {
    if (out)
        *out = std::move(error);
}

// Closes a descriptor once, whatever happens in between.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void reset(int fd) {
        close();
        m_fd = fd;
    }
    // Closes now and tells whether the close succeeded (a late write error shows here).
    bool close() {
        if (m_fd < 0)
            return true;
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(w);
    }
    return true;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string randomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, 61);
    std::string s(8, 'x');
    for (char& c : s)
        c = kLetters[pick(generator)];
    return s;
}

} // namespace

std::optional<std::string> readInputFile(const fs::path& path, std::size_t limit,
                                         Status* error) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer; for a plain file it changes nothing.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        report(error, systemError(errno));
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        report(error, systemError(errno));
        return std::nullopt;
    }
    if (S_ISDIR(st.st_mode)) {
        report(error, Status::refused("it is a folder, not a file", EISDIR));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        report(error, Status::refused("it is not a plain file (a device or a pipe)", EINVAL));
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        report(error, Status::refused("it is too big (more than " + std::to_string(limit) + " bytes)", EFBIG));
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buf, sizeof buf);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            report(error, systemError(errno));
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buf, static_cast<size_t>(got));
        // The file may grow while it is read.
        if (bytes.size() > limit) {
            report(error, Status::refused("it is too big (more than " + std::to_string(limit) + " bytes)", EFBIG));
            return std::nullopt;
        }
    }
    return bytes;
}

fs::path writeTarget(const fs::path& path, Status* error) {
    fs::path p = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0) {
            report(error, systemError(errno));
            return {};
        }
        link.resize(static_cast<size_t>(n));
        const fs::path next(link);
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    report(error, systemError(ELOOP));
    return {};
}

namespace {

// Syncs a folder, so that a rename in it survives a power loss.
Status syncFolder(const fs::path& folder, WriteFaults* faults) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (faults && faults->failAt(WriteStep::SyncFolder))
        return Status::refused(std::strerror(EIO), EIO);
    if (dir.get() >= 0 && ::fsync(dir.get()) != 0 && errno != EINVAL)
        return systemError(errno);
    return {};
}

// Exchanges two names atomically; false where the file system cannot.
bool swapNames(const fs::path& a, const fs::path& b) {
    return ::syscall(SYS_renameat2, AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

fs::path folderOf(const fs::path& file) {
    fs::path folder = file.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

bool isPlainFile(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// replaceFile's steps. Unsynced, with `spare` given, an existing target is swapped with the new
// file instead of renamed over (which would make the file system flush the new data at once,
// most of the cost of a replacement) and the old file is kept under the name put in `spare`.
Status replaceWhole(const fs::path& path, std::string_view bytes, WriteFaults* faults,
                       bool synced, fs::path* spare) {
    auto injected = [&](WriteStep step) { return faults && faults->failAt(step); };

    Status error;
    const fs::path target = writeTarget(path, &error);
    if (!error.ok())
        return error;
    const fs::path folder = folderOf(target);

    // Keep the mode (and, for root, the owner) of the file replaced; a new file gets what the
    // user's umask allows.
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return Status::refused("it is not a plain file (a device, a pipe or a folder) and is left as it is", EINVAL);
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~currentUmask());

    if (injected(WriteStep::CreateTemporary))
        return Status::refused(std::strerror(ENOSPC), ENOSPC);
    fs::path temporary;
    Descriptor fd;
    for (int attempt = 0; attempt < 100 && fd.get() < 0; ++attempt) {
        temporary = folder / ("." + target.filename().string() + "." + randomSuffix());
        fd.reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        0600));
        if (fd.get() < 0 && errno != EEXIST)
            return systemError(errno);
    }
    if (fd.get() < 0)
        return systemError(EEXIST);

    auto abandon = [&](Status why) {
        fd.close();
        ::unlink(temporary.c_str());
        return why;
    };
    if (injected(WriteStep::Write))
        return abandon(Status::refused(std::strerror(ENOSPC), ENOSPC));
    if (!writeAll(fd.get(), bytes))
        return abandon(systemError(errno));
    if (::fchmod(fd.get(), mode) != 0)
        return abandon(systemError(errno));
    if (exists && ::geteuid() == 0 && (old.st_uid != 0 || old.st_gid != 0))
        (void)!::fchown(fd.get(), old.st_uid, old.st_gid);
    if (synced && injected(WriteStep::Sync))
        return abandon(Status::refused(std::strerror(EIO), EIO));
    if (synced && ::fsync(fd.get()) != 0)
        return abandon(systemError(errno));
    if (!fd.close())
        return abandon(systemError(errno));
    if (injected(WriteStep::Rename))
        return abandon(Status::refused(std::strerror(EIO), EIO));
    if (spare && exists && swapNames(temporary, target)) {
        *spare = temporary;
        return {};
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return abandon(systemError(errno));
    // The rename lives in the folder: sync it too, or a power loss can undo the save.
    return synced ? syncFolder(folder, faults) : Status{};
}

} // namespace

Status replaceFile(const fs::path& path, std::string_view bytes, WriteFaults* faults) {
    return replaceWhole(path, bytes, faults, true, nullptr);
}

Status renameDurably(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        return systemError(errno);
    return syncFolder(folderOf(to), nullptr);
}

StagedFile::~StagedFile() { dropSpare(); }

void StagedFile::dropSpare() {
    if (!m_spare.empty())
        ::unlink(m_spare.c_str());
    m_spare.clear();
}

Status StagedFile::replace(std::string_view bytes) {
    // The old copy the last stage swapped out takes this stage's bytes and is swapped in.
    if (!m_spare.empty()) {
        Status error;
        const fs::path target = writeTarget(m_path, &error);
        Descriptor fd(::open(m_spare.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
        struct stat st {};
        // A copy with another name elsewhere (a hard link) is never written over.
        const bool ours = fd.get() >= 0 && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
                          st.st_nlink == 1;
        if (error.ok() && ours && isPlainFile(target)) {
            if (m_faults && m_faults->failAt(WriteStep::Write))
                return Status::refused(std::strerror(ENOSPC), ENOSPC);
            if (!writeAll(fd.get(), bytes) ||
                ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0 || !fd.close())
                return systemError(errno);
            if (m_faults && m_faults->failAt(WriteStep::Rename))
                return Status::refused(std::strerror(EIO), EIO);
            if (swapNames(m_spare, target))
                return {};
        }
        dropSpare(); // the file was moved or changed under us: start afresh
    }
    return replaceWhole(m_path, bytes, m_faults, false, &m_spare);
}

Status StagedFile::finish() {
    dropSpare();
    Status error;
    const fs::path target = writeTarget(m_path, &error);
    if (!error.ok())
        return error;
    Descriptor fd(::open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return systemError(errno);
    if (m_faults && m_faults->failAt(WriteStep::Sync))
        return Status::refused(std::strerror(EIO), EIO);
    if (::fsync(fd.get()) != 0)
        return systemError(errno);
    return syncFolder(folderOf(target), m_faults);
}

Status appendByReplacing(const fs::path& path, std::string_view bytes, std::size_t limit) {
    Status error;
    const fs::path target = writeTarget(path, &error);
    if (!error.ok())
        return error;
    std::string contents;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(target, ec))) {
        auto old = readInputFile(target, limit, &error);
        if (!old)
            return error;
        contents = std::move(*old);
    }
    contents.append(bytes);
    return replaceFile(target, contents);
}

std::optional<DataLock> DataLock::acquire(const fs::path& folder, std::chrono::milliseconds wait,
                                          Status* error) {
    const fs::path file = folder / kFileName;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        report(error, systemError(errno));
        return std::nullopt;
    }
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return DataLock(fd);
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int err = errno;
            ::close(fd);
            report(error, systemError(err));
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= until)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(fd);
    report(error, Status::refused("another copy of the program is saving to it; try again", EWOULDBLOCK));
    return std::nullopt;
}

DataLock::~DataLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}

} // namespace fendrel
