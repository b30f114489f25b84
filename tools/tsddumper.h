// The listing tsddump prints: a dictionary's header, then every word the game's index would
// hold, as key text, TAB, display text.
#pragma once

#include <ostream>
#include <string>

// Returns the process exit code: 0 after a whole listing, 1 when the file is missing or invalid
// (its status text then goes to `err`) or when a length class holds fewer words than its header
// counts (said on `err` after the listing).
int DumpDictionary(const std::string& path, std::ostream& out, std::ostream& err);
