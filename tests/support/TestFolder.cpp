#include "TestFolder.h"

#include "core/common/TextFile.h"

#include <fstream>
#include <unistd.h>
#include <random>
#include <stdexcept>

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

} // namespace fendrel::test
