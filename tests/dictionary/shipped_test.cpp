// The dictionaries the game ships in other languages than English: each finds its words under the
// letters a board spells them with and shows them as the language writes them, accents, ß and
// ligatures included; near misses, and the keys ß and æ gave before they counted as two letters,
// are no words. Each has its letter weights beside it; the English ones keep the built-in table.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "dictionary/cp1252.h"
#include "dictionary/inputengine.h"
#include "dictionary/letterstext.h"
#include "dictionary/tsdictionary.h"

namespace {

struct Shipped {
    const char* name;
    // Key as the board spells it, and the display text (UTF-8) it must show.
    std::vector<std::pair<std::string, std::string>> words;
    std::vector<std::string> misses;
};

// Names the case in test listings rather than dumping its bytes.
void PrintTo(const Shipped& shipped, std::ostream* out) {
    *out << shipped.name;
}

std::string DataFile(const std::string& name) {
    return std::string(PELLIN_SOURCE_DIR) + "/data/" + name;
}

// The display text of each word the game would index (2 to 31 letters, no space), by key.
std::map<std::string, std::string> IndexedWords(const std::string& path) {
    std::map<std::string, std::string> words;
    TSDictionaryList list(path, false);
    EXPECT_EQ(list.FirstInvalid(), nullptr) << path;
    if (list.FirstInvalid() != nullptr) {
        return words;
    }
    InputEngine cursor(list, 0);
    for (int L = 2; L <= 31; ++L) {
        if (!cursor.Start(L)) {
            continue;
        }
        for (const uint8_t* key = cursor.Next(); key[0] != InputEngine::kEndKey;
             key = cursor.Next()) {
            if (std::strchr(cursor.Text(), ' ') != nullptr) {
                continue;
            }
            std::string word;
            for (int i = 0; i < L; ++i) {
                word += list.IndexLetter(0, key[i]);
            }
            words.emplace(std::move(word), Cp1252ToUtf8(cursor.Text()));
        }
    }
    return words;
}

class ShippedDictionary : public testing::TestWithParam<Shipped> {};

} // namespace

TEST_P(ShippedDictionary, FindsItsWordsAsTheLanguageWritesThem) {
    const Shipped& shipped = GetParam();
    const auto words = IndexedWords(DataFile(std::string(shipped.name) + ".tsd"));
    EXPECT_GT(words.size(), 80000u);
    for (const auto& [key, display] : shipped.words) {
        const auto found = words.find(key);
        ASSERT_NE(found, words.end()) << key;
        EXPECT_EQ(found->second, display) << key;
    }
    for (const std::string& miss : shipped.misses) {
        EXPECT_EQ(words.count(miss), 0u) << miss;
    }

    std::ifstream in(DataFile(std::string(shipped.name) + ".letters"), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto weights = ParseLetterWeightsText(text);
    ASSERT_TRUE(weights.has_value()) << text;
    for (const uint32_t weight : *weights) {
        EXPECT_GE(weight, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, ShippedDictionary,
    testing::Values(
        Shipped{"French",
                {{"ETE", "été"}, {"NOEL", "noël"}, {"FRANCAIS", "français"}, {"COEUR", "coeur"}},
                {"ETEE", "ECOL"}},
        Shipped{"German",
                {{"STRASSE", "Straße"}, {"FUSS", "Fuß"}, {"APFEL", "Apfel"}, {"FUR", "für"}},
                {"STRAE", "STRASE", "APFELL"}},
        Shipped{"Spanish",
                {{"ANO", "año"}, {"ARBOL", "árbol"}, {"PINGUINO", "pingüino"}, {"EL", "el"}},
                {"ANOO", "ARBL"}},
        Shipped{"Italian", {{"CITTA", "città"}, {"PERCHE", "perché"}}, {"CITTAA", "PERCH"}},
        Shipped{"Portuguese", {{"ACAO", "ação"}, {"CORACAO", "coração"}}, {"ACAOO"}},
        Shipped{"Dutch",
                {{"AUTOS", "auto's"}, {"IDEEEN", "ideeën"}, {"CAFE", "café"}, {"EEN", "een"}},
                {"DAAROPP"}},
        Shipped{"Swedish", {{"AVEN", "även"}, {"AR", "är"}, {"SMORGAS", "smörgås"}}, {"AVN"}},
        Shipped{"Norwegian",
                {{"VAERE", "være"}, {"BLABAER", "blåbær"}, {"PA", "på"}},
                {"BLABR", "BLABAERR"}},
        Shipped{"Danish",
                {{"BLABAER", "blåbær"}, {"AEBLE", "æble"}, {"OESTERS", "østers"}},
                {"BLABR", "AEBL", "OSTERS"}},
        Shipped{"Catalan",
                {{"COLLEGI", "col·legi"}, {"PLACA", "plaça"}, {"CAFE", "cafè"}},
                {"COLEGI", "PLACAA"}}),
    [](const testing::TestParamInfo<Shipped>& info) { return std::string(info.param.name); });

// The English dictionaries play with the game's built-in letter table: no weights beside them.
TEST(ShippedDictionaryWeights, EnglishKeepsTheBuiltInTable) {
    EXPECT_FALSE(std::filesystem::exists(DataFile("English.letters")));
    EXPECT_FALSE(std::filesystem::exists(DataFile("Evaluation.letters")));
}
