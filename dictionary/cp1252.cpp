#include "dictionary/cp1252.h"

#include <array>

namespace {

// Unicode code points of the bytes 0x80..0x9F; the unassigned ones stand for themselves.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<unsigned char> CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<unsigned char>(cp);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::optional<std::string> Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t extra = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            extra = 1;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            extra = 2;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            extra = 3;
            minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + extra >= utf8.size() && extra > 0) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not text.
        if (cp < minimum || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            return std::nullopt;
        }
        const auto byte = CodePointToCp1252(cp);
        if (!byte) {
            return std::nullopt;
        }
        out += static_cast<char>(*byte);
        i += extra + 1;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (const char ch : cp1252) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c < 0xA0) {
            AppendUtf8(out, kHighControls[c - 0x80]);
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

int16_t FoldedLetters(unsigned char c) {
    auto letter = [](char base) { return static_cast<int16_t>(base - 'A'); };
    auto pair = [](char first, char second) { return LetterPair(first - 'A', second - 'A'); };
    if (c >= 'A' && c <= 'Z') {
        return letter(static_cast<char>(c));
    }
    if (c >= 'a' && c <= 'z') {
        return static_cast<int16_t>(c - 'a');
    }
    if (c == 0xDF) {
        return pair('S', 'S'); // sharp s has no capital in the code page
    }
    // Upper and lower halves of Latin-1 differ by 0x20, so one table serves both cases.
    if (c >= 0xE0 && c != 0xF7) {
        c = static_cast<unsigned char>(c - 0x20);
        if (c == 0xDF) {
            return letter('Y'); // y with diaeresis lives at 0xFF, its capital at 0x9F
        }
    }
    switch (c) {
    case 0x8A:
    case 0x9A:
        return letter('S');
    case 0x8C:
    case 0x9C:
        return pair('O', 'E');
    case 0x8E:
    case 0x9E:
        return letter('Z');
    case 0x9F:
    case 0xDD:
        return letter('Y');
    case 0xC6:
        return pair('A', 'E');
    case 0xC7:
        return letter('C');
    case 0xD0:
        return letter('D');
    case 0xD1:
        return letter('N');
    case 0xD8:
        return pair('O', 'E'); // o with a stroke is a letter of its own, written OE without it
    case 0xDE:
        return pair('T', 'H');
    default:
        break;
    }
    if (c >= 0xC0 && c <= 0xC5) {
        return letter('A');
    }
    if (c >= 0xC8 && c <= 0xCB) {
        return letter('E');
    }
    if (c >= 0xCC && c <= 0xCF) {
        return letter('I');
    }
    if (c >= 0xD2 && c <= 0xD6) {
        return letter('O');
    }
    if (c >= 0xD9 && c <= 0xDC) {
        return letter('U');
    }
    return -1;
}
