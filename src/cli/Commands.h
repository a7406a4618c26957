// The subcommands of fendrel-calc. Each lives in its own file and registers itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fendrel::cli {

// Exit codes: 0 done, 1 refused input, 2 usage error.
using CommandFunction = std::function<int(const std::vector<std::string>& args)>;

struct Command {
    std::string name;
    std::string usage; // one line: "NAME OPTIONS"
    CommandFunction run;
};

std::vector<Command>& commands();

struct Registrar {
    Registrar(std::string name, std::string usage, CommandFunction run) {
        commands().push_back({std::move(name), std::move(usage), std::move(run)});
    }
};

// Options of the form --name VALUE. Returns false (with a message on stderr) for an unknown
// option, an option given twice or a missing value. Arguments that do not start with "--" are collected as positional.
struct Options {
    std::vector<std::pair<std::string, std::string>> named;
    std::vector<std::string> positional;
    bool has(const std::string& name) const;
    std::string get(const std::string& name, const std::string& fallback = {}) const;
};
bool parseOptions(const std::string& command, const std::vector<std::string>& args,
                  const std::vector<std::string>& known, Options& out);

// The program folder: --program-folder, else FENDREL_HOME, else the executable's folder.
std::string programFolder(const Options& options);
void setExecutableFolder(const std::string& folder);

// Writes bytes to stdout unchanged.
void writeOut(const std::string& bytes);

// A JSON string of UTF-8 text: quotes, backslashes and control characters escaped.
std::string jsonText(std::string_view text);

} // namespace fendrel::cli
