// The text editor's file handling: the edit count in editsessions.dat, the numbered backup
// made before a file is shown, loading a file as text and saving the edited text.
#pragma once

#include "core/common/Result.h"

#include <filesystem>
#include <optional>
#include <string>

namespace fendrel {

// Adds one to the edit count of editsessions.dat and writes it back ("7" CR LF). A missing or
// unreadable count starts again from 0. nullopt when the new count would pass 32767 or the
// file cannot be written; `error` then says why.
std::optional<int> nextEditCount(const std::filesystem::path& programFolder, std::string& error);

// The backup of a file for an edit count: the name's part before its first full stop, a blank,
// the count and ".bak", in the program folder ("rounds 7.bak").
std::filesystem::path backupPath(const std::filesystem::path& programFolder,
                                 const std::string& fileName, int count);

// The file's text as the editor shows it: lines joined by "\n", empty lines before the first
// text dropped, no line end after the last line. nullopt when the file cannot be read.
std::optional<std::string> loadEditorText(const std::filesystem::path& file);

// The bytes Save writes for the editor's text: blanks (spaces only) trimmed at both ends,
// lines ended by CR LF, and a CR LF after the last line.
std::string editorSaveBytes(const std::string& text);

// Everything the editor does before it shows a file: the count, the backup, the text (UTF-8,
// read from the file's windows-1252).
struct EditorLoad {
    bool ok = false;
    std::string text;
    std::string error;
    std::filesystem::path backup;
};
EditorLoad prepareEdit(const std::filesystem::path& programFolder,
                       const std::filesystem::path& file);

// Save: the editor's text (UTF-8) written back in windows-1252 as editorSaveBytes has it.
Status saveEdit(const std::filesystem::path& file, const std::string& text);

} // namespace fendrel
