// From the start of the workbench process to its main window painted on the (offscreen)
// screen, in a scratch program folder.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
namespace fs = std::filesystem;

namespace {

void BM_StartUp(benchmark::State& state) {
    const fs::path folder = fs::temp_directory_path() / ("fendrel-start-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy(FENDREL_DATA_DIR, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    setenv("FENDREL_HOME", folder.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("FENDREL_QUIT_WHEN_SHOWN", "1", 1);
    const std::string exe = FENDREL_BIN_DIR "/fendrel";
    for (auto _ : state) {
        pid_t pid;
        char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
        if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start fendrel");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("fendrel did not end cleanly");
            break;
        }
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

BENCHMARK_MAIN();
