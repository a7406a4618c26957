// fendrel-calc: the program's computations from the command line.
#include "Commands.h"
#include "core/common/ProgramFolder.h"
#include "core/common/Version.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fendrel::cli {

std::vector<Command>& commands() {
    static std::vector<Command> list;
    return list;
}

bool Options::has(const std::string& name) const {
    for (const auto& [n, v] : named)
        if (n == name)
            return true;
    return false;
}

std::string Options::get(const std::string& name, const std::string& fallback) const {
    for (const auto& [n, v] : named)
        if (n == name)
            return v;
    return fallback;
}

bool parseOptions(const std::string& command, const std::vector<std::string>& args,
                  const std::vector<std::string>& known, Options& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            out.positional.push_back(a);
            continue;
        }
        const std::string name = a.substr(2);
        bool ok = false;
        for (const auto& k : known)
            ok = ok || k == name;
        if (!ok) {
            std::fprintf(stderr, "fendrel-calc %s: unknown option '%s'\n", command.c_str(),
                         a.c_str());
            return false;
        }
        if (out.has(name)) {
            std::fprintf(stderr, "fendrel-calc %s: option '%s' is given twice\n", command.c_str(),
                         a.c_str());
            return false;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "fendrel-calc %s: option '%s' needs a value\n", command.c_str(),
                         a.c_str());
            return false;
        }
        out.named.emplace_back(name, args[++i]);
    }
    return true;
}

namespace {
std::string g_executableFolder;
}

void setExecutableFolder(const std::string& folder) { g_executableFolder = folder; }

std::string programFolder(const Options& options) {
    if (options.has("program-folder"))
        return options.get("program-folder");
    // The same folder the workbench uses: FENDREL_HOME, the executable's folder, or the
    // per-user copy of an installed, read-only program folder.
    const char* home = std::getenv("FENDREL_HOME");
    std::filesystem::path dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        dataHome = xdg;
    else if (const char* user = std::getenv("HOME"); user && *user)
        dataHome = std::filesystem::path(user) / ".local" / "share";
    const ProgramFolderChoice choice =
        chooseProgramFolder(home ? std::optional<std::string>(home) : std::nullopt,
                            g_executableFolder, dataHome);
    return choice.folder.string();
}

void writeOut(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

} // namespace fendrel::cli

namespace {

void usage(std::FILE* to) {
    std::fputs("Usage: fendrel-calc COMMAND [OPTIONS]\n"
               "\n"
               "The computations of the Fen-drel workbench from the command line.\n"
               "\n"
               "Commands:\n",
               to);
    for (const auto& c : fendrel::cli::commands())
        std::fprintf(to, "  %s\n", c.usage.c_str());
    std::fputs("\n"
               "  --help       show this text\n"
               "  --version    show the program's version\n",
               to);
}

} // namespace

int main(int argc, char** argv) {
    std::error_code ec;
    auto exe = std::filesystem::canonical("/proc/self/exe", ec);
    fendrel::cli::setExecutableFolder(ec ? std::string(".") : exe.parent_path().string());
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        usage(stdout);
        return 0;
    }
    if (command == "--version") {
        std::printf("fendrel-calc %s\n", fendrel::kVersionText);
        return 0;
    }
    for (const auto& c : fendrel::cli::commands()) {
        if (c.name == command) {
            std::vector<std::string> args(argv + 2, argv + argc);
            for (const std::string& a : args) {
                if (a == "--help" || a == "-h") {
                    std::printf("Usage: fendrel-calc %s\n\nman fendrel-calc describes every "
                                "option.\n",
                                c.usage.c_str());
                    return 0;
                }
            }
            try {
                return c.run(args);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "fendrel-calc %s: %s\n", command.c_str(), e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "fendrel-calc: unknown command '%s' (see --help)\n", command.c_str());
    return 2;
}
