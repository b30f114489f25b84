// The command line and the file names on it as UTF-8 text on every platform, and standard input
// as plain bytes, so the tools read and name the same things wherever they run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// argv[1] onwards as UTF-8. POSIX systems pass the bytes as typed, UTF-8 on any current one;
// Windows passes argv in its ANSI code page, which cannot hold every character and is not UTF-8,
// so there the wide command line is converted instead.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// A file name held as UTF-8, as a path the file streams open: wide text for Windows, the bytes
// themselves elsewhere.
std::filesystem::path PathFromUtf8(const std::string& name);

// Windows reads standard input as text unless told otherwise: it turns CR LF into LF and ends
// the input at the first Ctrl-Z byte, so a piped word list would stop there without a word of
// warning. Elsewhere there is nothing to do.
void BinaryStandardInput();
