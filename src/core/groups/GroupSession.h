// The shot group window's logic: the coordinate entry, Do It with its results, the drawing of
// the group on the target, and the group files saved, opened and printed. The window shows the
// grid, the target and the fields, and passes on what the user types and clicks. Texts are
// UTF-8; group files keep the program's code page (windows-1252).
#pragma once

#include "CoordinateEntry.h"
#include "core/common/SessionHost.h"
#include "core/common/SharedState.h"

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fendrel {

// The X and Y texts of rounds 1..N as the grid shows them.
using GroupCells = std::vector<std::pair<std::string, std::string>>;

class GroupSession {
public:
    explicit GroupSession(SharedState& state) : m_state(state) {}

    CoordinateEntry& entry() { return m_entry; }
    const CoordinateEntry& entry() const { return m_entry; }
    // The number of rounds a group can have (2..181) when the text holds one.
    static std::optional<int> rounds(const std::string& text);

    // Accept: the round taken and the texts its grid cells show; nothing when refused (told).
    struct Accepted {
        int round = 0;
        std::string x, y;
    };
    std::optional<Accepted> accept(const std::string& roundsText, const std::string& x,
                                   const std::string& y, SessionHost& host);

    // Display the group: the holes to draw (in the target's twips) and the target's caption.
    struct Drawing {
        std::vector<std::pair<double, double>> holes;
        double radius = 0;
        std::string caption;
    };
    std::optional<Drawing> display(const std::string& roundsText, const std::string& caliberText,
                                   SessionHost& host);

    // Do It: measures the grid's group, keeps it as the last group measured, writes the
    // distance files, shows the results and asks whether to save the group file: true for Yes;
    // nothing when the group was refused (told).
    std::optional<bool> doIt(const std::string& caliberText, const std::string& roundsText,
              const GroupCells& cells, SessionHost& host);
    const std::string& results() const { return m_results; } // of the last Do It

    // Save Group file: asks for the file and writes the group; printing is open afterwards.
    void save(const std::string& title, const std::string& caliber, const std::string& roundsText,
              bool displayed, SessionHost& host);
    // Open Group file: what the file holds, as far as it could be read. The window puts it in
    // its fields, then the table into the coordinate entry.
    struct Opened {
        std::optional<std::string> title, caliber;
        int rounds = 0; // 0: nothing past the caliber was read
        GroupCells cells;
        bool complete = false;
        std::vector<Shot> table; // rows 1..N of the coordinate table, when complete
        bool displayed = false;
    };
    std::optional<Opened> open(SessionHost& host);
    // Print Group file: the results block of the group file to print from; nothing (told) when
    // there is none.
    std::optional<std::string> printedResults(SessionHost& host);

    bool printEnabled() const { return m_printEnabled; }
    void clear() { m_printEnabled = false; }
    const std::filesystem::path& groupFile() const { return m_groupFile; }

private:
    SharedState& m_state;
    CoordinateEntry m_entry{5};
    std::string m_results;
    bool m_printEnabled = false;
    std::filesystem::path m_groupFile;
};

} // namespace fendrel
