// Small helpers shared by the fuzz targets: a scratch folder for loaders that read files, and a
// check that stops the run with a message when a property of the code under test fails.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace fuzz {

// A property that must hold for every input; a failure is reported like a crash so that
// libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s at %s:%d\n", #condition, __FILE__,   \
                         __LINE__);                                                            \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// One folder per process, made on first use and removed when the process ends normally. It
// lives in shared memory when there is some, so that writing a file per input stays cheap.
inline const std::filesystem::path& scratchFolder() {
    // Kept on the heap for the whole run: the clean-up at exit still needs it after the
    // function-local statics are gone.
    static const std::filesystem::path* folder = [] {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec))
            base = std::filesystem::temp_directory_path();
        auto* dir = new std::filesystem::path(base / ("fendrel-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*dir, ec);
        return dir;
    }();
    static const bool cleanupRegistered = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*folder, ignored);
        });
        return true;
    }();
    (void)cleanupRegistered;
    return *folder;
}

// Replaces the scratch file `name` with `bytes` and returns its path.
inline std::filesystem::path writeScratch(const std::string& name, std::string_view bytes) {
    const auto path = scratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good());
    return path;
}

inline std::string readScratch(const std::string& name) {
    std::ifstream in(scratchFolder() / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void removeScratch(const std::string& name) {
    std::error_code ec;
    std::filesystem::remove(scratchFolder() / name, ec);
}

} // namespace fuzz
