// The How To Play page: the example board and its chain, its painting at the designed and at
// a small size, the check box, the ways out, and its place kept between runs.
#include "fakesoundoutput.h"
#include "testsettings.h"

#include "dialogs/howto.h"
#include "dialogs/newgame.h"
#include "mainwindow/pelform.h"
#include "model/board.h"
#include "model/chip.h"
#include "settings/persist.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

// The main window and the high score dialog the page works with, made as at start-up.
class HowToPlayTest : public ::testing::Test {
protected:
    HowToPlayTest() {
        ClearStoredSettings();
        PellinForm =
            new TPellinForm(std::make_unique<FakeSoundOutput>(std::make_shared<SoundLog>()));
        NewGameForm = new TNewGameForm();
        HowToPlay = new THowToPlay();
    }
    ~HowToPlayTest() override {
        delete HowToPlay;
        HowToPlay = nullptr;
        delete NewGameForm;
        NewGameForm = nullptr;
        delete PellinForm;
        PellinForm = nullptr;
    }

    template <typename T> T* Child(const char* name) const {
        T* child = HowToPlay->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QWidget* Area() const { return Child<QWidget>("ExampleArea"); }
};

// Guards the example: seven highlighted tiles, exactly the word's seven different letters,
// selected and in word order along the chain (1,3) (1,5) (2,6) (2,4) (3,5) (3,3) (2,2), each
// a neighbour of the one before; every tile carries its letter's own value.
TEST_F(HowToPlayTest, ExampleHoldsTheWordAsAChain) {
    const std::string word = THowToPlay::ExampleWord;
    ASSERT_EQ(word.size(), 7u);
    EXPECT_EQ(std::set<char>(word.begin(), word.end()).size(), 7u);

    const Board& board = HowToPlay->ExampleBoard();
    EXPECT_EQ(board.RowCount(), 5u);
    EXPECT_EQ(board.SlotCount(), 8u);
    const int chain[7][2] = {{1, 3}, {1, 5}, {2, 6}, {2, 4}, {3, 5}, {3, 3}, {2, 2}};
    int selected = 0;
    for (int r = 0; r < 5; ++r) {
        for (int s = 0; s < 8; ++s) {
            const Chip* chip = board.CellAt(r, s);
            EXPECT_EQ(chip->IsOccupied(), s % 2 == r % 2) << r << "," << s;
            if (!chip->IsOccupied()) {
                continue;
            }
            std::string letter = chip->Letter();
            EXPECT_EQ(chip->Value(), SupplyLetter(letter));
            selected += chip->IsSelected() ? 1 : 0;
        }
    }
    EXPECT_EQ(selected, 7);
    for (int k = 0; k < 7; ++k) {
        const Chip* chip = board.CellAt(chain[k][0], chain[k][1]);
        EXPECT_TRUE(chip->IsSelected()) << k;
        EXPECT_EQ(chip->Letter(), std::string(1, word[static_cast<size_t>(k)])) << k;
        if (k > 0) {
            EXPECT_TRUE(Board::IsAdjacent(chip, board.CellAt(chain[k - 1][0], chain[k - 1][1])));
        }
    }
}

// Guards the painting at the designed size: tiles of 40, the board 180 x 176 from the
// area's top left corner, and the red chain line between the word's first two tiles.
TEST_F(HowToPlayTest, ExamplePaintedAtTheDesignSize) {
    EXPECT_EQ(Area()->size(), QSize(185, 185));
    const QImage image = Area()->grab().toImage();
    EXPECT_EQ(HowToPlay->ExampleTileSize(), 40);
    const QColor board = PellinForm->Painter.BoardColour;
    EXPECT_EQ(image.pixelColor(0, 175), board);
    EXPECT_EQ(image.pixelColor(179, 0), board);
    EXPECT_NE(image.pixelColor(180, 0), board);
    EXPECT_NE(image.pixelColor(0, 176), board);
    // P at (1,3) and L at (1,5): centres 40 apart at y 176 - 74 + 20.
    EXPECT_EQ(image.pixelColor(100, 122), PellinForm->Painter.ChainColour);
}

// Guards the small sizes: in 100 x 60 the tile shrinks to 12 (the board 52 high), and the
// shared disc cache is made again for each board painted after the other.
TEST_F(HowToPlayTest, ExampleShrinksToFit) {
    Area()->resize(100, 60);
    const QImage image = Area()->grab().toImage();
    EXPECT_EQ(HowToPlay->ExampleTileSize(), 12);
    EXPECT_EQ(PellinForm->Painter.DiscCacheWidth, 12);
    EXPECT_EQ(image.pixelColor(0, 51), PellinForm->Painter.BoardColour);
    EXPECT_NE(image.pixelColor(0, 52), PellinForm->Painter.BoardColour);

    PellinForm->FormPaint();
    EXPECT_EQ(PellinForm->Painter.DiscCacheWidth, 40);
    Area()->grab();
    EXPECT_EQ(PellinForm->Painter.DiscCacheWidth, 12);

    Area()->resize(100, 5);
    const QImage none = Area()->grab().toImage();
    EXPECT_EQ(HowToPlay->ExampleTileSize(), 0);
    EXPECT_NE(none.pixelColor(0, 4), PellinForm->Painter.BoardColour);
}

// Guards the page's texts and frame: caption, fixed 448 x 340, no close box, the four rules
// word for word, and the buttons.
TEST_F(HowToPlayTest, LooksAsDesigned) {
    EXPECT_EQ(HowToPlay->windowTitle(), QStringLiteral("How To Play"));
    EXPECT_EQ(HowToPlay->size(), QSize(448, 340));
    EXPECT_EQ(HowToPlay->minimumSize(), HowToPlay->maximumSize());
    EXPECT_FALSE(HowToPlay->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(HowToPlay->isModal());
    EXPECT_EQ(Child<QLabel>("Label1")->text(),
              QStringLiteral("1. Make long words by clicking on, or dragging over, a sequence of "
                             "adjacent tiles. The selected word is highlighted in red."));
    EXPECT_EQ(Child<QLabel>("Label3")->text(),
              QStringLiteral("2. Click on the Enter button, or press the space bar or return key "
                             "to submit a word."));
    EXPECT_EQ(Child<QLabel>("Label4")->text(),
              QStringLiteral("3. Click on the Clear button, or press the Esc or Del keys to clear "
                             "the selection."));
    EXPECT_EQ(Child<QLabel>("Label2")->text(),
              QStringLiteral("4. Don't let the falling tiles reach the top of the board. When "
                             "they do, you lose a life. But you earn a new life for every 2000 "
                             "points scored."));
    EXPECT_EQ(Child<QCheckBox>("HowToPlay")->text(),
              QStringLiteral("Show How To &Play before each game"));
    EXPECT_EQ(Child<QPushButton>("StartButton")->text(), QStringLiteral("&Start Game"));
    EXPECT_TRUE(Child<QPushButton>("StartButton")->isDefault());
    EXPECT_EQ(Child<QPushButton>("HelpButton")->text(), QStringLiteral("&More Tips"));
}

// Guards the ways out: Esc and Enter both act as Start Game, handing the check box to the
// player's settings and control back to the main window, which closes the page and is
// enabled again; every showing starts with the box ticked.
TEST_F(HowToPlayTest, EscAndEnterStartTheGame) {
    PellinForm->FormOnIdle();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        PellinForm->setEnabled(false);
        HowToPlay->show();
        auto* box = Child<QCheckBox>("HowToPlay");
        EXPECT_TRUE(box->isChecked());
        box->setChecked(false);
        QTest::keyClick(HowToPlay, key);
        EXPECT_FALSE(NewGameForm->GetHowToPlay());
        EXPECT_FALSE(HowToPlay->isVisible());
        EXPECT_TRUE(PellinForm->isEnabled());
        NewGameForm->SetHowToPlay(true);
    }
    HowToPlay->show();
    QTest::keyClick(HowToPlay, Qt::Key_Return);
    EXPECT_TRUE(NewGameForm->GetHowToPlay());
}

// Guards the main window's close of the page: it only hides the page; it is not taken for the
// player's Start Game (which would start the game a second time) nor for a change of the box.
TEST_F(HowToPlayTest, ClosingThePageStartsNothing) {
    PellinForm->FormOnIdle();
    PellinForm->setEnabled(false);
    HowToPlay->show();
    Child<QCheckBox>("HowToPlay")->setChecked(false);
    EXPECT_TRUE(HowToPlay->close());
    EXPECT_FALSE(HowToPlay->isVisible());
    EXPECT_TRUE(NewGameForm->GetHowToPlay());
    EXPECT_FALSE(PellinForm->isEnabled());
}

// Guards the placement: the page's position is stored when it goes and restored by the next.
TEST_F(HowToPlayTest, PositionKeptBetweenRuns) {
    HowToPlay->show();
    HowToPlay->move(123, 45);
    delete HowToPlay;
    HowToPlay = nullptr;
    {
        Persist store(false);
        QString left;
        QString width;
        EXPECT_TRUE(store.ReadString(QStringLiteral("HowToPlayLeft"), left));
        EXPECT_EQ(left, QStringLiteral("123"));
        EXPECT_FALSE(store.ReadString(QStringLiteral("HowToPlayWidth"), width));
    }
    HowToPlay = new THowToPlay();
    EXPECT_EQ(HowToPlay->pos(), QPoint(123, 45));
}

} // namespace
