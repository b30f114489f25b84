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

// Guards the example's painting: at the designed 185 x 185 tiles of 40 and a board of 180 x 176
// from the area's top left, with the red line between the word's first two tiles; in 100 x 60
// tiles of 12 (the board 52 high); in an area it cannot fit, nothing. The disc cache shared
// with the main board is made again whenever the other board is painted at another size.
TEST_F(HowToPlayTest, ExamplePainting) {
    const QColor board = PellinForm->Painter.BoardColour;
    QImage image = Area()->grab().toImage();
    EXPECT_EQ(HowToPlay->ExampleTileSize(), 40);
    EXPECT_EQ(image.pixelColor(0, 175), board);
    EXPECT_EQ(image.pixelColor(179, 0), board);
    EXPECT_NE(image.pixelColor(180, 0), board);
    EXPECT_NE(image.pixelColor(0, 176), board);
    EXPECT_EQ(image.pixelColor(100, 122), PellinForm->Painter.ChainColour); // P (1,3) - L (1,5)

    Area()->resize(100, 60);
    image = Area()->grab().toImage();
    EXPECT_EQ(HowToPlay->ExampleTileSize(), 12);
    EXPECT_EQ(image.pixelColor(0, 51), board);
    EXPECT_NE(image.pixelColor(0, 52), board);
    EXPECT_EQ(PellinForm->Painter.DiscCacheWidth, 12);
    PellinForm->FormPaint();
    EXPECT_EQ(PellinForm->Painter.DiscCacheWidth, 40);

    Area()->resize(100, 5);
    image = Area()->grab().toImage();
    EXPECT_EQ(HowToPlay->ExampleTileSize(), 0);
    EXPECT_NE(image.pixelColor(0, 4), board);
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
// player's Start Game (which would start the game a second time). Unticking the box is kept and
// stored at once, so a crash cannot bring the page back.
TEST_F(HowToPlayTest, ClosingThePageStartsNothing) {
    PellinForm->FormOnIdle();
    PellinForm->setEnabled(false);
    HowToPlay->show();
    Child<QCheckBox>("HowToPlay")->setChecked(false);
    bool stored = true;
    EXPECT_TRUE(Persist(false).ReadBool(QStringLiteral("HowToPlay"), stored));
    EXPECT_FALSE(stored);
    EXPECT_TRUE(HowToPlay->close());
    EXPECT_FALSE(HowToPlay->isVisible());
    EXPECT_FALSE(NewGameForm->GetHowToPlay());
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
