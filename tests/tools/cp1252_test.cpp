// Text conversion for dictionary files and the letter each character counts as.
#include <gtest/gtest.h>

#include <string>

#include "tools/cp1252.h"

// Characters Windows-1252 can show convert to their single byte and back; the conversion is
// the identity over all 256 bytes.
TEST(Cp1252, ConvertsBothWays) {
    EXPECT_EQ(Utf8ToCp1252("\xC3\xA9t\xC3\xA9"), std::string("\xE9t\xE9"));
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), std::string("\x80")); // euro sign
    EXPECT_EQ(Utf8ToCp1252("\xC5\xB8"), std::string("\x9F"));     // Y with diaeresis
    EXPECT_EQ(Utf8ToCp1252("plain"), std::string("plain"));
    EXPECT_EQ(Cp1252ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
    std::string all;
    for (int c = 0; c < 256; ++c) {
        all += static_cast<char>(c);
    }
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

// Text that is not UTF-8, or holds a character the code page lacks, is refused whole rather
// than stored as something else.
TEST(Cp1252, RefusesWhatItCannotStore) {
    for (const char* bad : {"\xC0\xAF",         // overlong slash
                            "\x80",             // lone continuation byte
                            "caf\xC3",          // cut inside a character
                            "\xED\xA0\x80",     // surrogate
                            "\xF4\x90\x80\x80", // past Unicode
                            "\xE4\xB8\xAD",     // a character Windows-1252 lacks
                            "\xFF"}) {
        EXPECT_FALSE(Utf8ToCp1252(bad).has_value()) << bad;
    }
}

// Letters of either case count as A..Z, accented Latin letters as their base letter; ligatures,
// sharp s, digits and punctuation count as no letter at all.
TEST(Cp1252, FoldsAccentedLettersToTheirBase) {
    EXPECT_EQ(FoldedLetterIndex('A'), 0);
    EXPECT_EQ(FoldedLetterIndex('z'), 25);
    EXPECT_EQ(FoldedLetterIndex(0xE9), 'E' - 'A'); // é
    EXPECT_EQ(FoldedLetterIndex(0xC9), 'E' - 'A'); // É
    EXPECT_EQ(FoldedLetterIndex(0xF1), 'N' - 'A'); // ñ
    EXPECT_EQ(FoldedLetterIndex(0xE7), 'C' - 'A'); // ç
    EXPECT_EQ(FoldedLetterIndex(0xF8), 'O' - 'A'); // ø
    EXPECT_EQ(FoldedLetterIndex(0xFF), 'Y' - 'A'); // ÿ
    EXPECT_EQ(FoldedLetterIndex(0x9F), 'Y' - 'A'); // Ÿ
    EXPECT_EQ(FoldedLetterIndex(0x8A), 'S' - 'A'); // Š
    EXPECT_EQ(FoldedLetterIndex(0x9E), 'Z' - 'A'); // ž
    EXPECT_EQ(FoldedLetterIndex(0xFC), 'U' - 'A'); // ü
    const std::string none =
        std::string("'-0 \n", 5) + std::string(1, '\0') + "\xC6\xDF\xF7\xD7\x9C\xFE\x83\xD0\xF0";
    for (const char c : none) {
        EXPECT_LT(FoldedLetterIndex(static_cast<unsigned char>(c)), 0) << static_cast<int>(c);
    }
}
