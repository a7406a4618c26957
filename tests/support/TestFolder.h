// A temporary program folder for one test, laid out from the program's data files, removed
// when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fendrel::test {

class TestFolder {
public:
    // withData: copy data/ into the folder; otherwise the folder starts empty. `name` ends the
    // folder's name (letters outside ASCII, blanks).
    explicit TestFolder(bool withData = true, const std::string& name = {});
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path m_path;
};

// A fixture file of tests/data.
std::filesystem::path fixture(const std::string& name);

// The names in a folder, sorted.
std::vector<std::string> entries(const std::filesystem::path& folder);

// The lines of a CR LF text without their line ends; the last may lack its own.
std::vector<std::string> crlfLines(const std::string& text);

// fendrel-calc run as a user runs it from a shell, with nothing to read: its exit status and
// what it printed, standard output followed by standard error when `withErrors`, else apart.
struct CalcRun {
    int status;
    std::string out, errors;
};
CalcRun runCalc(const std::string& arguments, bool withErrors = false);

} // namespace fendrel::test
