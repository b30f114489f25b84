#include "tools/wordlist.h"

#include "dictionary/cp1252.h"

WordListLine ParseWordListLine(std::string_view line, bool rawCp1252) {
    WordListLine result;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.empty()) {
        return result;
    }
    std::optional<std::string> bytes =
        rawCp1252 ? std::optional<std::string>(std::string(line)) : Utf8ToCp1252(line);
    // A zero byte would end the entry inside the file; a line feed cannot come from a line.
    if (!bytes || bytes->find('\0') != std::string::npos) {
        result.status = LineStatus::BadText;
        return result;
    }
    const std::size_t tab = bytes->find('\t');
    if (tab != std::string::npos) {
        (*bytes)[tab] = '\n';
    }
    result.status = LineStatus::Entry;
    result.entry = std::move(*bytes);
    return result;
}
