// Bounded reading of imported files.
#include "ImportFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fendrel {

Result<std::string> readImportFile(const std::filesystem::path& file, std::size_t limit) {
    using R = Result<std::string>;
    const std::string name = "'" + file.string() + "'";
    // Non-blocking, so that opening a FIFO without a writer returns at once; the type test
    // below then refuses it.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return R::refused("Cannot open " + name + ": " + std::strerror(errno) + ".");
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return R::refused("Cannot read " + name + ": " + std::strerror(errno) + ".");
    if (!S_ISREG(st.st_mode))
        return R::refused(name + " is not a regular file.");
    if (static_cast<unsigned long long>(st.st_size) > limit)
        return R::refused(name + " is too large to import (more than " +
                          std::to_string(limit / 1024) + " KB).");
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return R::refused("Cannot read " + name + ": " + std::strerror(errno) + ".");
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
        if (bytes.size() > limit) // the file grew while it was read
            return R::refused(name + " is too large to import (more than " +
                              std::to_string(limit / 1024) + " KB).");
    }
    return R::done(std::move(bytes));
}

} // namespace fendrel
