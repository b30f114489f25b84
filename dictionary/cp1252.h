// Text conversion between UTF-8 and the Windows-1252 code page that dictionary files use, and
// the letter each Windows-1252 character counts as in a word's key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Windows-1252 bytes for UTF-8 text; nothing when the text is not valid UTF-8 or holds a
// character the code page cannot show.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// UTF-8 text for Windows-1252 bytes. The five bytes the code page leaves unassigned map to the
// control characters of the same number, as Windows itself converts them.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Letter index 0..25 (A..Z) of a Windows-1252 character: letters of either case, and accented
// Latin letters folded to their base letter. -1 for every other character.
int16_t FoldedLetterIndex(unsigned char c);
