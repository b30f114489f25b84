// The main window: its state at start, the board's layout and drawing at different sizes,
// the anchors, the placement kept between runs, and closing.
#include "pelform_fixture.h"

#include "model/board.h"
#include "settings/persist.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QColor kBevelDark(0x73, 0x97, 0xBD);
const QColor kBevelLight(0xD9, 0xFD, 0xFF);

// Guards the first run: design size, title and caption pattern, half-size minimum, the title
// letters on a full board, the five pre-play buttons with their texts, the game panel hidden,
// Enter and Clear disabled, the game constants and both timers idle.
TEST_F(PellinFormTest, StartsInThePrePlayState) {
    EXPECT_EQ(form->objectName(), QStringLiteral("PellinForm"));
    EXPECT_EQ(form->size(), QSize(658, 480));
    EXPECT_EQ(form->minimumSize(), QSize(329, 240));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellinoraxis"));
    EXPECT_EQ(form->CaptionPattern, QStringLiteral("Pellinoraxis ()"));
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->Shown);

    EXPECT_EQ(OccupiedChips(), 108);
    EXPECT_EQ(form->GameBoard->CellAt(11, 1)->Letter(), "P");

    const char* const names[] = {"StartButton", "preplayOptionsButton", "ScoresButton",
                                 "aboutButton", "ExitButton"};
    const char* const texts[] = {"&Start", "&Options...", "&Sco&res...", "&About...", "E&xit"};
    for (int k = 0; k < 5; ++k) {
        auto* button = Child<QPushButton>(names[k]);
        EXPECT_EQ(button->text(), QString::fromLatin1(texts[k]));
        EXPECT_FALSE(button->isHidden());
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
    EXPECT_TRUE(Child<QWidget>("PlayPanel")->isHidden());
    EXPECT_FALSE(Child<QWidget>("PreplayPanel")->isHidden());
    EXPECT_FALSE(form->GameInProgress());
    EXPECT_FALSE(Child<QPushButton>("enterButton")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>("enterButton")->isDefault());
    EXPECT_FALSE(Child<QPushButton>("clearButton")->isEnabled());
    EXPECT_EQ(Child<QLabel>("valueLabel")->text(), QStringLiteral("0"));

    EXPECT_EQ(form->BoardRows, 12);
    EXPECT_EQ(form->BoardColumns, 9);
    EXPECT_EQ(form->HighWordScore, 48);
    EXPECT_EQ(form->PointsPerLife, 2000);
    EXPECT_EQ(form->StartRows, 4);
    EXPECT_EQ(form->StartLives, 3);
    EXPECT_EQ(form->StartEvolveInterval, 2000);
    EXPECT_EQ(form->TumbleInterval, 251);
    EXPECT_EQ(form->EvolveSpeedup, 5);
    EXPECT_FALSE(form->EvolveTimer.isActive());
    EXPECT_FALSE(form->TumbleTimer.isActive());
    EXPECT_EQ(form->TumbleTimer.timerType(), Qt::PreciseTimer);
    EXPECT_EQ(form->BackgroundColour, QColor(0xA6, 0xCA, 0xF0));
    EXPECT_EQ(form->Painter.BoardColour, QColor(0x56, 0x9C, 0x56));
    EXPECT_EQ(form->Painter.ChainColour, QColor(0xFF, 0x40, 0x40));
    EXPECT_TRUE(form->Painter.TileFontName == QStringLiteral("Verdana") ||
                form->Painter.TileFontName == QStringLiteral("Arial"));
}

// Guards the layout at the design size: tiles of 40 with a pitch of 34, the board from client
// x 33 to 413 and y 51 to 465, framed by a sunken ring of 3 pixels inside a raised one, and
// the title letters drawn on it.
TEST_F(PellinFormTest, DesignSizeLayout) {
    form->FormPaint();
    EXPECT_EQ(form->OriginX, 33);
    EXPECT_EQ(form->OriginY, 15);
    EXPECT_EQ(form->BoardToClient(QPoint(0, 0)), QPoint(33, 465));
    EXPECT_EQ(form->ClientToBoard(QPoint(33, 465)), QPoint(0, 0));
    const Rect cell = form->GameBoard->CellAt(0, 0)->Bounds();
    EXPECT_EQ(cell.right - cell.left, 40);
    EXPECT_EQ(form->GameBoard->CellAt(1, 1)->Bounds().top - cell.top, -34);

    const QImage& image = form->BackBuffer();
    ASSERT_EQ(image.size(), QSize(658, 480));
    // Left edge, at mid height: raised outside (light, light, light), sunken inside (dark).
    EXPECT_EQ(image.pixelColor(26, 250), form->BackgroundColour);
    EXPECT_EQ(image.pixelColor(27, 250), kBevelLight);
    EXPECT_EQ(image.pixelColor(29, 250), kBevelLight);
    EXPECT_EQ(image.pixelColor(30, 250), kBevelDark);
    EXPECT_EQ(image.pixelColor(32, 250), kBevelDark);
    // Right edge: the board's last column is 412.
    EXPECT_EQ(image.pixelColor(413, 250), kBevelLight);
    EXPECT_EQ(image.pixelColor(415, 250), kBevelLight);
    EXPECT_EQ(image.pixelColor(416, 250), kBevelDark);
    EXPECT_EQ(image.pixelColor(418, 250), kBevelDark);
    EXPECT_EQ(image.pixelColor(419, 250), form->BackgroundColour);
    // Top and bottom: rows 51 to 464.
    EXPECT_EQ(image.pixelColor(200, 50), kBevelDark);
    EXPECT_EQ(image.pixelColor(200, 45), kBevelLight);
    EXPECT_EQ(image.pixelColor(200, 44), form->BackgroundColour);
    EXPECT_EQ(image.pixelColor(200, 465), kBevelLight);
    EXPECT_EQ(image.pixelColor(200, 470), kBevelDark);
    EXPECT_EQ(image.pixelColor(200, 471), form->BackgroundColour);
    // The board starts at (33, 51): its top-left corner is board colour, and the bottom-left
    // chip shows its disc.
    EXPECT_EQ(image.pixelColor(33, 51), form->Painter.BoardColour);
    const Chip* first = form->GameBoard->CellAt(0, 0);
    EXPECT_EQ(image.pixelColor(33 + 6, 465 - 20), BoardPainter::DiscColour(first->Value()));
}

// Guards the height limit and the centring: a much wider window keeps tiles of 40 and centres
// the board in the wider free area; a taller one lets them grow.
TEST_F(PellinFormTest, WiderWindowKeepsTheTileSize) {
    form->FormOnIdle();
    form->resize(1400, 480);
    form->FormPaint();
    const Rect cell = form->GameBoard->CellAt(0, 0)->Bounds();
    EXPECT_EQ(cell.right - cell.left, 40);
    EXPECT_EQ(form->OriginX, (446 + 742 - 380) / 2);

    form->resize(1400, 900);
    form->FormPaint();
    const Rect bigger = form->GameBoard->CellAt(0, 0)->Bounds();
    EXPECT_GT(bigger.right - bigger.left, 40);
}

// Guards the give-up rule: with less than 100 pixels of free width or height no part of the
// board is drawn, only the window background, and later chip repaints draw nothing either.
TEST_F(PellinFormTest, NothingDrawnWithoutRoom) {
    form->FormOnIdle();
    form->setMinimumSize(0, 0);
    for (const QSize size : {QSize(658, 134), QSize(211, 480)}) {
        form->resize(size);
        form->FormPaint();
        const QImage& image = form->BackBuffer();
        ASSERT_EQ(image.size(), size);
        bool plain = true;
        for (int y = 0; y < image.height() && plain; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != form->BackgroundColour) {
                    plain = false;
                    break;
                }
            }
        }
        EXPECT_TRUE(plain) << size.width() << "x" << size.height();
        form->RedrawChips({form->GameBoard->CellAt(0, 0)});
        EXPECT_EQ(form->BackBuffer().pixelColor(10, 10), form->BackgroundColour);
    }
}

// Guards the anchors: the panels and the list stretch, the buttons and the right-hand column
// keep their distance from the right and bottom edges, the score stays put.
TEST_F(PellinFormTest, AnchorsFollowTheWindow) {
    form->FormOnIdle();
    form->resize(800, 600); // 142 wider, 120 taller
    EXPECT_EQ(Child<QWidget>("Label1")->geometry(), QRect(5, 12, 52, 21));
    EXPECT_EQ(Child<QWidget>("valueLabel")->geometry(), QRect(65, 10, 77, 25));
    EXPECT_EQ(Child<QWidget>("PreplayPanel")->geometry(), QRect(144, 0, 654, 41));
    EXPECT_EQ(Child<QWidget>("PlayPanel")->geometry(), QRect(144, 0, 654, 41));
    EXPECT_EQ(Child<QWidget>("ExitButton")->geometry(), QRect(555, 5, 96, 32));
    EXPECT_EQ(Child<QWidget>("StartButton")->geometry(), QRect(147, 5, 96, 32));
    EXPECT_EQ(Child<QWidget>("livesArea")->geometry(), QRect(59, 8, 291, 27));
    EXPECT_EQ(Child<QWidget>("pauseButton")->geometry(), QRect(555, 5, 96, 32));
    EXPECT_EQ(Child<QWidget>("bestWordsLabel")->geometry(), QRect(588, 42, 94, 21));
    EXPECT_EQ(Child<QWidget>("bestWordList")->geometry(), QRect(588, 64, 206, 347));
    EXPECT_EQ(Child<QWidget>("helpButton")->geometry(), QRect(588, 417, 206, 41));
    EXPECT_EQ(Child<QWidget>("enterButton")->geometry(), QRect(588, 514, 206, 41));
    EXPECT_EQ(Child<QWidget>("wordInProgress")->geometry(), QRect(588, 563, 206, 30));
    form->resize(658, 480);
    EXPECT_EQ(Child<QWidget>("wordInProgress")->geometry(), QRect(446, 443, 206, 30));
}

// Guards chip repaints in the window: only the changed chip's rectangle changes in the
// picture; a suspended board shows no chips at all and chip repaints do not give them away.
TEST_F(PellinFormTest, RepaintsAndSuspension) {
    form->FormPaint();
    const QImage before = form->BackBuffer().copy();
    Chip* chip = form->GameBoard->CellAt(5, 7);
    std::vector<Chip*> changed;
    form->GameBoard->SelectChip(chip, false, changed);
    form->RedrawChips(changed);
    const Rect b = chip->Bounds();
    const QRect area(form->BoardToClient(QPoint(b.left, b.top)), QSize(40, 40));
    const QImage& after = form->BackBuffer();
    int outside = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            outside += !area.contains(x, y) && after.pixel(x, y) != before.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_NE(after.copy(area), before.copy(area));

    form->Suspended = true;
    form->FormPaint();
    const QPoint disc = form->BoardToClient(QPoint(b.left + 6, b.top + 20));
    EXPECT_EQ(form->BackBuffer().pixelColor(disc), form->Painter.BoardColour);
    form->RedrawChips({chip});
    EXPECT_EQ(form->BackBuffer().pixelColor(disc), form->Painter.BoardColour);
    EXPECT_EQ(form->BackBuffer().pixelColor(29, 250), kBevelLight);
    form->Suspended = false;
    form->FormPaint();
    EXPECT_NE(form->BackBuffer().pixelColor(disc), form->Painter.BoardColour);
}

// Guards the window on screen: the first idle moment shows it once, painted from the back
// buffer, and a chip repaint reaches the screen before RedrawChips returns.
TEST_F(PellinFormTest, ShownAtTheFirstIdleMoment) {
    form->FormOnIdle();
    EXPECT_TRUE(form->Shown);
    EXPECT_TRUE(form->isVisible());
    form->FormOnIdle();
    EXPECT_TRUE(form->isVisible());
    QImage shot = form->grab().toImage();
    const QPoint disc = form->BoardToClient(QPoint(6, -20));
    const QColor fill = BoardPainter::DiscColour(form->GameBoard->CellAt(0, 0)->Value());
    EXPECT_EQ(shot.pixelColor(disc), fill);
    EXPECT_EQ(shot.pixelColor(20, 250), form->BackgroundColour);

    form->Suspended = true;
    form->FormPaint();
    EXPECT_EQ(form->grab().toImage().pixelColor(disc), form->Painter.BoardColour);
    form->Suspended = false;
    form->FormPaint();
    EXPECT_EQ(form->grab().toImage().pixelColor(disc), fill);
}

// Guards closing: between games the window closes and says so; while a game is in progress
// a close is refused.
TEST_F(PellinFormTest, ClosesOnlyBetweenGames) {
    QSignalSpy closed(form.get(), &TPellinForm::Closed);
    form->FormOnIdle();
    Child<QWidget>("PreplayPanel")->hide();
    Child<QWidget>("PlayPanel")->show();
    EXPECT_TRUE(form->GameInProgress());
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(closed.count(), 0);

    Child<QWidget>("PlayPanel")->hide();
    Child<QWidget>("PreplayPanel")->show();
    Child<QPushButton>("ExitButton")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(closed.count(), 1);
}

// Guards the placement: moving the visible window stores its position, maximising stores the
// state while keeping the normal placement, and a new window comes back maximised with half
// the restored size as its minimum. A hidden window stores nothing.
TEST_F(PellinFormTest, PlacementPersists) {
    form->move(40, 30);
    {
        Persist store(false);
        QString left;
        EXPECT_FALSE(store.ReadString(QStringLiteral("PellinFormLeft"), left));
    }
    form->FormOnIdle();
    form->resize(700, 500);
    form->move(50, 60);
    QString left;
    QString width;
    QString maximized;
    {
        Persist store(false);
        EXPECT_TRUE(store.ReadString(QStringLiteral("PellinFormLeft"), left));
        EXPECT_TRUE(store.ReadString(QStringLiteral("PellinFormWidth"), width));
        EXPECT_TRUE(store.ReadString(QStringLiteral("PellinFormMaximized"), maximized));
    }
    EXPECT_EQ(left, QStringLiteral("50"));
    EXPECT_EQ(width, QStringLiteral("700"));
    EXPECT_EQ(maximized, QStringLiteral("0"));

    form->showMaximized();
    {
        Persist store(false);
        EXPECT_TRUE(store.ReadString(QStringLiteral("PellinFormMaximized"), maximized));
        EXPECT_TRUE(store.ReadString(QStringLiteral("PellinFormWidth"), width));
    }
    EXPECT_EQ(maximized, QStringLiteral("1"));
    EXPECT_EQ(width, QStringLiteral("700"));

    form.reset();
    MakeForm();
    EXPECT_TRUE(form->windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(form->minimumSize(), QSize(350, 250));
}

} // namespace
