// The caliber and maker lists: every field of the list file is an entry, kept in
// alphabetical order.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fendrel {

// Alphabetical order of list entries: letters compared without regard to case, ties broken by
// the bytes themselves so the order is total.
bool listOrderLess(const std::string& a, const std::string& b);

// Inserts an entry at its alphabetical place (after equal entries) and returns its index.
size_t insertSorted(std::vector<std::string>& list, const std::string& entry);

// Every field of the file in alphabetical order. A missing or empty file gives an empty list.
std::vector<std::string> loadReferenceList(const std::filesystem::path& file);

} // namespace fendrel
