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

// A window whose index holds a few words, one with an accented display text, and an empty
// board to put tiles on.
class DisplaysTest : public PellinFormTest {
protected:
    tsdtest::TempFolder folder;

    DisplaysTest() {
        const std::string path = folder.File("Test.tsd");
        tsdtest::WriteBytes(path, tsdtest::MakeDictionary({"cat", "caf\xE9"}));
        form->WordIndex->Load(path);
        form->GameBoard->Fill(0);
    }

    // Puts a tile and extends the chain with it, as a click does; true when it makes a word.
    bool Touch(int row, int slot, const char* letter) {
        Chip* chip = form->GameBoard->CellAt(row, slot);
        std::string text = letter;
        chip->Set(text, SupplyLetter(text));
        std::vector<Chip*> changed;
        const std::string letters = form->GameBoard->SelectChip(chip, false, changed);
        return form->ShowWordInProgress(letters, true, changed);
    }

    QString Shown() { return Child<QLabel>("wordInProgress")->text(); }
    bool EnterOn() { return Child<QPushButton>("enterButton")->isEnabled(); }
    bool ClearOn() { return Child<QPushButton>("clearButton")->isEnabled(); }
};

// Guards the word display: plain letters with Enter off while the chain is no word; the
// dictionary's text (Windows-1252, shown with its accent) and the score once it is, Enter on;
// Clear on whenever there are letters; after Enter the word stays shown with both buttons
// off; clearing deselects the chain and empties the display.
TEST_F(DisplaysTest, WordInProgressFollowsTheChain) {
    EXPECT_FALSE(Touch(2, 4, "C"));
    EXPECT_FALSE(Touch(2, 6, "A"));
    EXPECT_EQ(Shown(), QStringLiteral("CA"));
    EXPECT_FALSE(EnterOn());
    EXPECT_TRUE(ClearOn());
    EXPECT_TRUE(Touch(2, 8, "T"));
    const int32_t cat = form->GameBoard->WordScore();
    EXPECT_EQ(Shown(), QStringLiteral("cat (%1)").arg(cat));
    EXPECT_EQ(form->WordInProgressText(), "cat (" + std::to_string(cat) + ")");
    EXPECT_TRUE(EnterOn());

    form->ClearWord();
    EXPECT_TRUE(form->GameBoard->Selection().empty());
    EXPECT_EQ(Shown(), QString());
    EXPECT_FALSE(EnterOn() || ClearOn());

    Touch(2, 4, "C");
    Touch(2, 6, "A");
    Touch(3, 7, "F");
    EXPECT_TRUE(Touch(3, 9, "E"));
    const QString cafe = QStringLiteral("caf\u00E9 (%1)").arg(form->GameBoard->WordScore());
    EXPECT_EQ(Shown(), cafe);
    std::vector<Chip*> changed;
    form->GameBoard->ConsumeSelection(changed);
    form->ShowWordInProgress("", false, changed);
    EXPECT_EQ(Shown(), cafe);
    EXPECT_FALSE(EnterOn() || ClearOn());
}

// Guards the best-word list box: lines of 25 pixels as the list rules order them, with the
// text converted for display, the new or lifted line selected, no line selected after a word
// that does not make a full list; the top line handed out as the game's best word.
TEST_F(DisplaysTest, BestWordListBox) {
    auto* list = Child<QListWidget>("bestWordList");
    const int32_t capacity = form->BestWordCapacity();
    EXPECT_EQ(capacity, list->contentsRect().height() / 25);
    EXPECT_EQ(form->TopBestWord(), QString());
    form->UpdateBestWords(12, "cat (12)");
    form->UpdateBestWords(12, "caf\xE9 (12)");
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("caf\u00E9 (12)"));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->sizeHintForRow(0), 25);
    form->UpdateBestWords(12, "cat (12)");
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("cat (12)"));
    EXPECT_EQ(list->currentRow(), 0);

    for (int k = list->count(); k < capacity; ++k) {
        form->UpdateBestWords(20, std::string(static_cast<size_t>(k), 'w'));
    }
    form->UpdateBestWords(2, "at (2)");
    EXPECT_EQ(list->count(), capacity);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(form->TopBestWord(), QString(capacity - 1, QLatin1Char('w')));
}

// Guards the resize trimming: a shorter window drops the lowest lines to the new capacity, box
// and scores alike, a taller one brings none back, and a box with no room lists nothing.
TEST_F(DisplaysTest, ShorterWindowTrimsTheList) {
    auto* list = Child<QListWidget>("bestWordList");
    for (int k = 0; k < form->BestWordCapacity(); ++k) {
        form->UpdateBestWords(static_cast<uint32_t>(100 - k), std::string(1, 'a' + k));
    }
    const int full = list->count();
    form->FormOnIdle();
    form->setMinimumSize(0, 0);
    form->resize(658, 380); // the list loses 100 pixels: four lines
    EXPECT_EQ(list->count(), full - 4);
    EXPECT_EQ(form->BestList.Count(), full - 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("a"));
    form->resize(658, 480);
    EXPECT_EQ(list->count(), full - 4);
    form->resize(658, 220);
    EXPECT_EQ(list->count(), 0);
    form->UpdateBestWords(99, "big (99)");
    EXPECT_EQ(list->count(), 0);
}

} // namespace
