// Edit counts, backups, and the editor's text.
#include "EditSession.h"

#include "core/common/Encoding.h"
#include "core/common/SafeFile.h"

#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/TextFile.h"

#include <cmath>

namespace fs = std::filesystem;

namespace fendrel {

std::optional<int> nextEditCount(const fs::path& programFolder, std::string& error) {
    const fs::path file = resolveName(programFolder, "editsessions.dat");
    double count = 0;
    if (auto bytes = readFileBytes(file)) {
        FieldReader reader(*bytes);
        count = leadingNumber(reader.readField());
    }
    int next;
    try {
        next = toInt16(toInt16(count) + 1.0);
    } catch (const OverflowError&) {
        error = "The edit count in editsessions.dat has reached its limit of 32767.";
        return std::nullopt;
    }
    const std::string why = replaceFile(file, plainLine(std::to_string(next))).refusal;
    if (!why.empty()) {
        error = "editsessions.dat could not be written: " + why;
        return std::nullopt;
    }
    return next;
}

fs::path backupPath(const fs::path& programFolder, const std::string& fileName, int count) {
    const std::string stem = fileName.substr(0, fileName.find('.'));
    return programFolder / (stem + " " + std::to_string(count) + ".bak");
}

std::optional<std::string> loadEditorText(const fs::path& file) {
    auto bytes = readFileBytes(file);
    if (!bytes)
        return std::nullopt;
    FieldReader reader(std::move(*bytes));
    std::string text;
    bool started = false;
    while (!reader.atEnd()) {
        std::string line = reader.readLine();
        if (!started) {
            // Empty lines before the first text are dropped.
            if (line.empty())
                continue;
            started = true;
            text = line;
        } else {
            text += "\n";
            text += line;
        }
    }
    return text;
}

std::string editorSaveBytes(const std::string& text) {
    size_t b = text.find_first_not_of(' ');
    size_t e = text.find_last_not_of(' ');
    std::string trimmed = b == std::string::npos ? std::string() : text.substr(b, e - b + 1);
    std::string out;
    out.reserve(trimmed.size() + 16);
    for (size_t i = 0; i < trimmed.size(); ++i) {
        char c = trimmed[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < trimmed.size() && trimmed[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    out += "\r\n";
    return out;
}

EditorLoad prepareEdit(const fs::path& programFolder, const fs::path& file) {
    EditorLoad load;
    auto count = nextEditCount(programFolder, load.error);
    if (!count)
        return load;
    if (!fs::exists(file)) {
        load.error = "The file " + file.string() + " was not found.";
        return load;
    }
    load.backup = backupPath(programFolder, file.filename().string(), *count);
    const auto original = readFileBytes(file);
    const std::string why = original ? replaceFile(load.backup, *original).refusal
                                     : std::string("the file could not be read");
    if (!why.empty()) {
        load.error = "The backup " + load.backup.string() + " could not be made: " + why;
        return load;
    }
    auto text = loadEditorText(file);
    if (!text) {
        load.error = "The file " + file.string() + " could not be read.";
        return load;
    }
    load.text = cp1252ToUtf8(*text);
    load.ok = true;
    return load;
}

Status saveEdit(const fs::path& file, const std::string& text) {
    return replaceFile(file, editorSaveBytes(utf8ToCp1252(text)));
}

} // namespace fendrel
