// The displays beside the board: the word in progress with Enter and Clear, the score, the
// lives and the best-word list box.
#include "pelform_fixture.h"

#include "model/words.h"
#include "tests/dictionary/tsdfixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Chips = std::vector<Chip*>;

// A distinct line for the list: "w" and a number, then the suffix.
std::string Line(int k, const char* suffix = "") {
    std::string line = "w";
    line += std::to_string(k);
    line += suffix;
    return line;
}

// A window whose index holds a few words, one of them with an accented display text, and an
// empty board to put tiles on.
class DisplaysTest : public PellinFormTest {
protected:
    tsdtest::TempFolder folder;

    DisplaysTest() {
        const std::string path = folder.File("Test.tsd");
        tsdtest::WriteBytes(path, tsdtest::MakeDictionary({"cat", "caf\xE9", "tea"}));
        form->WordIndex->Load(path);
        form->GameBoard->Fill(0);
        form->FormPaint();
    }

    Chip* Put(int row, int slot, const std::string& letter) {
        Chip* chip = form->GameBoard->CellAt(row, slot);
        std::string text = letter;
        chip->Set(text, SupplyLetter(text));
        return chip;
    }

    // Extends the chain with the chip and shows the word, as a click does.
    bool Touch(Chip* chip) {
        Chips changed;
        const std::string letters = form->GameBoard->SelectChip(chip, false, changed);
        return form->ShowWordInProgress(letters, true, changed);
    }

    QString Shown() { return Child<QLabel>("wordInProgress")->text(); }
    bool EnterOn() { return Child<QPushButton>("enterButton")->isEnabled(); }
    bool ClearOn() { return Child<QPushButton>("clearButton")->isEnabled(); }
};

// Guards the word display: plain letters and Enter disabled while the chain is no word, the
// dictionary's word with its score and Enter enabled once it is; Clear enabled whenever there
// are letters; clearing deselects the chain and empties the display.
TEST_F(DisplaysTest, WordInProgressFollowsTheChain) {
    Chip* c = Put(2, 4, "C");
    Chip* a = Put(2, 6, "A");
    Chip* t = Put(2, 8, "T");
    EXPECT_FALSE(Touch(c));
    EXPECT_EQ(Shown(), QStringLiteral("C"));
    EXPECT_FALSE(EnterOn());
    EXPECT_TRUE(ClearOn());
    EXPECT_FALSE(Touch(a));
    EXPECT_EQ(Shown(), QStringLiteral("CA"));
    EXPECT_TRUE(Touch(t));
    const int32_t score = c->Value() * a->Value() * t->Value();
    EXPECT_EQ(Shown(), QStringLiteral("cat (%1)").arg(score));
    EXPECT_EQ(form->WordInProgressText(), "cat (" + std::to_string(score) + ")");
    EXPECT_TRUE(EnterOn());

    form->ClearWord();
    EXPECT_TRUE(form->GameBoard->Selection().empty());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(Shown(), QString());
    EXPECT_FALSE(EnterOn());
    EXPECT_FALSE(ClearOn());

    // Without a selection there is nothing to clear: the display stays as it is.
    Chips none;
    form->ShowWordInProgress("", false, none);
    form->ClearWord();
    EXPECT_EQ(Shown(), QString());
}

// Guards the display text: the dictionary's 8-bit word is shown with its accent, and a
// display update without text (after Enter) keeps the entered word shown while both buttons
// go off.
TEST_F(DisplaysTest, DictionaryTextIsShownAsWritten) {
    Chip* c = Put(2, 4, "C");
    Chip* a = Put(2, 6, "A");
    Chip* f = Put(3, 7, "F");
    Chip* e = Put(3, 9, "E");
    for (Chip* chip : {c, a, f}) {
        Touch(chip);
    }
    EXPECT_TRUE(Touch(e));
    const int32_t score = c->Value() * a->Value() * f->Value() * e->Value();
    EXPECT_EQ(Shown(), QStringLiteral("caf\u00E9 (%1)").arg(score));

    Chips changed;
    form->GameBoard->ConsumeSelection(changed);
    form->ShowWordInProgress("", false, changed);
    EXPECT_EQ(Shown(), QStringLiteral("caf\u00E9 (%1)").arg(score));
    EXPECT_FALSE(EnterOn());
    EXPECT_FALSE(ClearOn());
    EXPECT_FALSE(c->IsOccupied());
}

// Guards the score and lives displays: the score as a plain number, the lives stored and
// drawn as that many faces in the box.
TEST_F(DisplaysTest, ScoreAndLives) {
    form->SetScore(1234);
    EXPECT_EQ(form->Score, 1234u);
    EXPECT_EQ(Child<QLabel>("valueLabel")->text(), QStringLiteral("1234"));
    form->SetScore(2147483647u);
    EXPECT_EQ(Child<QLabel>("valueLabel")->text(), QStringLiteral("2147483647"));

    Child<QWidget>("PreplayPanel")->hide();
    Child<QWidget>("PlayPanel")->show();
    form->FormOnIdle();
    form->SetLives(2);
    EXPECT_EQ(form->Lives, 2u);
    QWidget* box = Child<QWidget>("livesArea");
    const QImage faces = box->grab().toImage();
    EXPECT_EQ(faces.pixelColor(13, 5), QColor(0xF7, 0xCA, 0x15));
    EXPECT_EQ(faces.pixelColor(27 + 13, 5), QColor(0xF7, 0xCA, 0x15));
    EXPECT_EQ(faces.pixelColor(2 * 27 + 13, 5), form->BackgroundColour);
    form->SetLives(0);
    EXPECT_EQ(box->grab().toImage().pixelColor(13, 5), form->BackgroundColour);
}

// Guards the best-word list box: lines kept in score order with the newest of equal scores
// first, the new line selected, a repeated word moved rather than added, nothing selected
// when a word does not make a full list, and the top line handed out as the game's best word.
TEST_F(DisplaysTest, BestWordListBox) {
    auto* list = Child<QListWidget>("bestWordList");
    const int32_t capacity = form->BestWordCapacity();
    EXPECT_EQ(capacity, list->contentsRect().height() / 25);
    EXPECT_GE(capacity, 8);
    EXPECT_EQ(form->TopBestWord(), QString());

    form->UpdateBestWords(12, "cat (12)");
    form->UpdateBestWords(30, "tea (30)");
    form->UpdateBestWords(12, "caf\xE9 (12)");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("tea (30)"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("caf\u00E9 (12)"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("cat (12)"));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->sizeHintForRow(0), 25);

    form->UpdateBestWords(12, "cat (12)");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("cat (12)"));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(form->TopBestWord(), QStringLiteral("tea (30)"));

    for (int k = list->count(); k < capacity; ++k) {
        form->UpdateBestWords(20, Line(k, " (20)"));
    }
    ASSERT_EQ(list->count(), capacity);
    form->UpdateBestWords(2, "at (2)");
    EXPECT_EQ(list->count(), capacity);
    EXPECT_EQ(list->currentRow(), -1);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    form->UpdateBestWords(12, "eat (12)");
    EXPECT_EQ(list->count(), capacity);
    EXPECT_EQ(list->item(capacity - 2)->text(), QStringLiteral("eat (12)"));
    EXPECT_EQ(list->item(capacity - 1)->text(), QStringLiteral("cat (12)"));
    EXPECT_EQ(list->currentRow(), capacity - 2);
    EXPECT_EQ(form->BestList.Count(), capacity);

    form->ClearBestWords();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(form->BestList.Count(), 0);
}

// Guards the resize trimming: a shorter window drops the lowest lines to the new capacity,
// box and scores alike, and a taller one does not bring them back.
TEST_F(DisplaysTest, ShorterWindowTrimsTheList) {
    auto* list = Child<QListWidget>("bestWordList");
    for (int k = 0; k < form->BestWordCapacity(); ++k) {
        form->UpdateBestWords(static_cast<uint32_t>(100 - k), Line(k));
    }
    const int full = list->count();
    form->FormOnIdle(); // a visible window follows its size at once
    form->setMinimumSize(0, 0);
    form->resize(658, 480 - 100); // the list loses 100 pixels: four lines
    EXPECT_EQ(form->BestWordCapacity(), full - 4);
    EXPECT_EQ(list->count(), full - 4);
    EXPECT_EQ(form->BestList.Count(), full - 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("w0"));
    form->resize(658, 480);
    EXPECT_EQ(list->count(), full - 4);

    form->resize(658, 480 - 260); // no room for a single line
    EXPECT_EQ(form->BestWordCapacity(), 0);
    EXPECT_EQ(list->count(), 0);
    form->UpdateBestWords(99, "big (99)");
    EXPECT_EQ(list->count(), 0);
}

} // namespace
