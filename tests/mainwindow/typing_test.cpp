// Picking tiles by typing, and the best word left shown when a round ends.
#include "game_fixture.h"

#include <QTest>

#include <filesystem>

namespace {

using gametest::GameTest;

class TypingTest : public GameTest {
protected:
    void Type(const char* text, Qt::KeyboardModifiers modifiers = {}) {
        for (const char* c = text; *c != '\0'; ++c) {
            QTest::keyClick(form, static_cast<Qt::Key>(Qt::Key_A + (*c - 'A')), modifiers);
        }
    }
    std::string Chain() const { return form->GameBoard->WordText(); }
    const Chip* End() const { return form->GameBoard->Selection().back(); }
};

// Guards typing: each letter goes through the board's own selection step, so the display, Enter
// and the sounds follow as for clicks; a letter extends the chain from its end when a neighbour
// has it, else the best chain spelling the whole text replaces the chain; QUIZ is typed as
// written; a letter no chain can take, or one held with Ctrl, changes nothing and is silent.
TEST_F(TypingTest, LettersPickTheTilesOfTheTypedText) {
    StartQuietGame();
    // S T A R along the bottom row, a richer A up on the right, QU I Z above on the left.
    Put(0, 0, "S");
    const Chip* t = Put(0, 2, "T");
    const Chip* a = Put(0, 4, "A");
    Put(0, 6, "R");
    const Chip* rich = Put(3, 13, "A", 9);
    Put(2, 0, "QU");
    Put(2, 2, "I");
    Put(2, 4, "Z");
    Played();

    Type("STAR");
    EXPECT_EQ(Shown(), QStringLiteral("star (%1)").arg(form->GameBoard->WordScore()));
    EXPECT_TRUE(Enabled("enterButton"));
    EXPECT_EQ(Played(), (std::vector<int>{seSelectTile, seSelectTile, seSelectTile, seSelectWord}));
    Type("XS");
    QTest::keyClick(form, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Chain(), "STAR");
    EXPECT_TRUE(Played().empty());

    QTest::keyClick(form, Qt::Key_Escape);
    Type("A");
    EXPECT_EQ(End(), rich);
    Type("T"); // no T beside the rich A: the A beside a T takes its place
    EXPECT_EQ(Chain(), "AT");
    EXPECT_EQ(form->GameBoard->Selection(),
              (std::vector<Chip*>{const_cast<Chip*>(a), const_cast<Chip*>(t)}));
    EXPECT_FALSE(rich->IsSelected());

    QTest::keyClick(form, Qt::Key_Escape);
    Type("QUIZ");
    EXPECT_EQ(Chain(), "QUIZ");
    EXPECT_EQ(Shown(), QStringLiteral("quiz (%1)").arg(form->GameBoard->WordScore()));
    QTest::keyClick(form, Qt::Key_Space);
    EXPECT_EQ(form->TopBestWord(), Shown());
}

// Guards the best word left: when a round ends its chain is handed to the painter as the hint
// and the display reads "Best left: word (score)" until the next round, the round-end sound and
// timing unchanged, and the text shrinks to fit the display; the hint goes when the tiles start
// to vanish; with the option off neither shows.
TEST_F(TypingTest, BestWordLeftAtTheRoundsEnd) {
    for (const bool wanted : {true, false}) {
        Persist(true).WriteBool(QStringLiteral("ShowBestWordLeft"), wanted);
        delete std::exchange(NewGameForm, scores = new gametest::ScriptedScores);
        StartQuietGame();
        form->GameBoard->Fill(12);
        for (int r = 0; r < 12; ++r) {
            for (int s = r % 2; s < 18; s += 2) {
                Put(r, s, "X");
            }
        }
        std::vector<const Chip*> star;
        for (const auto& [slot, letter] : {std::pair{0, "S"}, {2, "T"}, {4, "A"}, {6, "R"}}) {
            star.push_back(Put(0, slot, letter));
        }
        Played();
        form->EvolveTimerTick();
        EXPECT_EQ(Played(), std::vector<int>{seEndRound});
        EXPECT_EQ(form->TumbleTimer.interval(), 20);
        EXPECT_EQ(form->Painter.Hint, wanted ? star : std::vector<const Chip*>{});
        EXPECT_EQ(Shown(), wanted ? QStringLiteral("Best left: star (16)") : QString());
        const QLabel* display = Child<QLabel>("wordInProgress");
        EXPECT_LE(QFontMetrics(display->font()).horizontalAdvance(Shown()),
                  display->contentsRect().width());
        for (int k = 0; k < 25; ++k) {
            form->TumbleTimerTick();
        }
        EXPECT_TRUE(form->Painter.Hint.empty());
        EXPECT_EQ(Shown(), wanted ? QStringLiteral("Best left: star (16)") : QString());
        while (form->EndCountdown > 0) {
            form->TumbleTimerTick();
        }
        EXPECT_EQ(Shown(), QString());
        EXPECT_EQ(display->font().pixelSize(), 22);
        form->FinishGame(true);
    }
}

// Guards a shipped dictionary of another language played whole: the game reads it and its
// letter weights from the game's folder, a typed ß word (its key spells SS) and an accented one
// are taken with their own display texts, and both score.
TEST_F(TypingTest, ShippedGermanDictionaryPlays) {
    for (const char* file : {"German.tsd", "German.letters"}) {
        std::filesystem::copy_file(std::filesystem::path(PELLIN_SOURCE_DIR) / "data" / file,
                                   folder.File(file));
    }
    Persist(true).WriteString(QStringLiteral("Dictionary"), QStringLiteral("German"));
    delete std::exchange(NewGameForm, scores = new gametest::ScriptedScores);
    StartQuietGame();
    ASSERT_NE(form->GameBoard->Weights(), LetterWeights::BuiltIn());
    const char* strasse[] = {"S", "T", "R", "A", "S", "S", "E"};
    for (int k = 0; k < 7; ++k) {
        Put(0, 2 * k, strasse[k]);
    }
    Type("STRASSE");
    EXPECT_EQ(Shown(), QStringLiteral("Straße (%1)").arg(form->GameBoard->WordScore()));
    QTest::keyClick(form, Qt::Key_Space);
    for (const auto& [slot, letter] : {std::pair{1, "F"}, {3, "U"}, {5, "R"}}) {
        Put(1, slot, letter);
    }
    Type("FUR");
    EXPECT_EQ(Shown(), QStringLiteral("für (%1)").arg(form->GameBoard->WordScore()));
    QTest::keyClick(form, Qt::Key_Return);
    EXPECT_GT(form->Score, 0u);
    EXPECT_TRUE(form->TopBestWord().startsWith(QStringLiteral("Straße (")))
        << form->TopBestWord().toStdString();
}

} // namespace
