// The two files the stabilization calculator saves: a plain text page and an HTML page with
// the lengths as a table.
#pragma once

#include <filesystem>
#include <string>

namespace fendrel {

// What a saved page shows: the fields as they stand when saving and the copper-alloy lengths of
// the last computation. The pages are built from windows-1252 bytes; saveStabilityPage takes the
// texts in UTF-8, as the window shows them.
struct StabilityPage {
    std::string caliber;
    std::string muzzleVelocity;
    std::string twist;
    std::string results; // the results text, lines ended by CR LF (LF too, for saving)
    double standardLength = 0;
    double modifiedLength = 0;
};

// A chosen name whose file name holds ".txt" (exactly so, anywhere in it) is saved as text;
// every other name as HTML. The folders on the way do not count.
bool savesAsText(const std::filesystem::path& chosen);

std::string stabilityTextPage(const StabilityPage& page);

// `background` is the address of the page's background image as written into the page.
std::string stabilityHtmlPage(const StabilityPage& page, const std::string& background);

// The background address for pages saved from `programFolder`: the folder, a backslash and the
// image's name as it exists there (browsers read the backslash as a slash in file addresses).
std::string stabilityBackground(const std::filesystem::path& programFolder);

// Writes the page in the form its name asks for, replacing any file of that name. Returns an
// empty string on success, otherwise the reason.
std::string saveStabilityPage(const std::filesystem::path& chosen, const StabilityPage& page,
                              const std::filesystem::path& programFolder);

} // namespace fendrel
