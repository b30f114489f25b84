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

// The letters one Windows-1252 character adds to a word's key, packed the way a dictionary file
// stores a symbol's letter index: the first letter index 0..25 (A..Z) in the low byte and, for a
// character written for two letters, the second letter index plus one in the high byte; -1 when
// the character adds no letter. Letters of either case count as themselves and accented Latin
// letters as their base letter (é as E, ö as O, ð as D). The ligatures, the sharp s, the o with
// a stroke and the thorn count as the two letters they are spelt with where the character is not
// to hand (Æ as AE, Œ as OE, ß as SS, Ø as OE, Þ as TH), so that a board's tiles, which are plain
// capitals, can spell Straße as STRASSE and østers as OESTERS. Every other character (digits,
// punctuation, signs) adds nothing.
int16_t FoldedLetters(unsigned char c);

// A packed two-letter index, and the parts of any packed index that is not -1.
constexpr int16_t LetterPair(int first, int second) {
    return static_cast<int16_t>(first | ((second + 1) << 8));
}
constexpr bool IsLetterPair(int16_t letters) {
    return letters > 0xFF;
}
constexpr int FirstLetter(int16_t letters) {
    return letters & 0xFF;
}
constexpr int SecondLetter(int16_t letters) {
    return (letters >> 8) - 1;
}
