#include "TestFolder.h"

#include "core/common/TextFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fendrel::test {

TestFolder::TestFolder(bool withData, const std::string& name) {
    std::random_device rd;
    m_path = fs::temp_directory_path() /
             ("fendrel-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()) + name);
    fs::create_directories(m_path);
    if (withData)
        fs::copy(FENDREL_DATA_DIR, m_path, fs::copy_options::recursive);
}

TestFolder::~TestFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void TestFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(m_path / name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TestFolder::read(const std::string& name) const {
    auto bytes = readFileBytes(m_path / name);
    if (!bytes)
        throw std::runtime_error("missing file " + name);
    return *bytes;
}

fs::path fixture(const std::string& name) { return fs::path(FENDREL_TEST_DATA) / name; }

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0, end; at < text.size(); at = end + 2) {
        end = std::min(text.find("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

CalcRun runCalc(const std::string& arguments, bool withErrors) {
    const fs::path errors =
        fs::temp_directory_path() / ("fendrel-calc-" + std::to_string(::getpid()) + ".err");
    const std::string command = std::string(FENDREL_BIN_DIR) + "/fendrel-calc " + arguments +
                                (withErrors ? " 2>&1" : " 2>'" + errors.string() + "'") +
                                " </dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    std::array<char, 4096> buf;
    size_t got;
    while ((got = fread(buf.data(), 1, buf.size(), pipe.get())) > 0)
        out.append(buf.data(), got);
    const int status = pclose(pipe.release());
    CalcRun run{WEXITSTATUS(status), out, readFileBytes(errors).value_or("")};
    fs::remove(errors);
    return run;
}

} // namespace fendrel::test
