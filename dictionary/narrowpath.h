// A file name as the C runtime's narrow file calls (fopen, open) read it, for std::filesystem.
#pragma once

#include <filesystem>
#include <string>

// Windows reads a narrow file name in the code page of its file functions, the ANSI code page
// unless the program switched them, while std::filesystem reads narrow text byte for character:
// a name holding "€", or any letter of a Cyrillic, Greek or East Asian code page, would name
// another file there. Elsewhere the bytes are the name.
std::filesystem::path NarrowFileName(const std::string& name);
