// The main window: its state at start, the board's layout and drawing at different sizes, the
// anchors, repaints, the placement kept between runs, and closing.
#include "pelform_fixture.h"

#include "settings/persist.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor kDark(0x73, 0x97, 0xBD);
const QColor kLight(0xD9, 0xFD, 0xFF);

QString Stored(const char* name) {
    Persist store(false);
    QString value;
    store.ReadString(QString::fromLatin1(name), value);
    return value;
}

// Guards the first run: design size, caption pattern, a full board of title letters, Enter and
// Clear off, the timers idle (the vanishing ticks on a precise timer).
TEST_F(PellinFormTest, StartsInThePrePlayState) {
    EXPECT_EQ(form->size(), QSize(658, 480));
    EXPECT_EQ(form->CaptionPattern, QStringLiteral("Pellinoraxis ()"));
    EXPECT_EQ(OccupiedChips(), 108);
    EXPECT_FALSE(form->GameInProgress());
    EXPECT_FALSE(Child<QPushButton>("enterButton")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("clearButton")->isEnabled());
    EXPECT_FALSE(form->EvolveTimer.isActive() || form->TumbleTimer.isActive());
    EXPECT_EQ(form->TumbleTimer.timerType(), Qt::PreciseTimer);
}

// Guards the layout at the design size: tiles of 40 and pitch 34, the board from client x 33
// to 413 and y 51 to 465, framed by a sunken 3-pixel ring inside a raised one, title letters on
// it.
TEST_F(PellinFormTest, DesignSizeLayout) {
    form->FormPaint();
    EXPECT_EQ(form->BoardToClient(QPoint(0, 0)), QPoint(33, 465));
    EXPECT_EQ(form->ClientToBoard(QPoint(33, 465)), QPoint(0, 0));
    EXPECT_EQ(form->GameBoard->CellAt(1, 1)->Bounds(), (Rect{20, -74, 60, -34}));
    const QImage& image = form->BackBuffer();
    const QColor bg = form->BackgroundColour;
    // Left, right, top and bottom edges: background, raised (light outside), sunken (dark).
    const std::vector<std::pair<QPoint, QColor>> expected = {{{26, 250}, bg},
                                                             {{27, 250}, kLight},
                                                             {{29, 250}, kLight},
                                                             {{30, 250}, kDark},
                                                             {{32, 250}, kDark},
                                                             {{413, 250}, kLight},
                                                             {{415, 250}, kLight},
                                                             {{416, 250}, kDark},
                                                             {{418, 250}, kDark},
                                                             {{419, 250}, bg},
                                                             {{200, 44}, bg},
                                                             {{200, 45}, kLight},
                                                             {{200, 50}, kDark},
                                                             {{200, 465}, kLight},
                                                             {{200, 470}, kDark},
                                                             {{200, 471}, bg},
                                                             {{33, 51}, form->Painter.BoardColour}};
    for (const auto& [point, colour] : expected) {
        EXPECT_EQ(image.pixelColor(point), colour) << point.x() << "," << point.y();
    }
    EXPECT_EQ(image.pixelColor(39, 445),
              BoardPainter::DiscColour(form->GameBoard->CellAt(0, 0)->Value()));
}

// Guards the size rules: a much wider window keeps tiles of 40 (the height binds) and centres
// the board; with less than 100 pixels of free width or height nothing of the board is drawn,
// not even by a later chip repaint; and no size asked of the window makes it, or its back
// buffer, larger than the screens can show.
TEST_F(PellinFormTest, LayoutFollowsTheSize) {
    form->FormOnIdle(); // a visible window follows its size at once
    form->resize(800, 480);
    form->FormPaint();
    EXPECT_EQ(form->GameBoard->CellAt(0, 0)->Bounds().right, 40);
    EXPECT_EQ(form->OriginX, (588 - 380) / 2);

    const QSize screens = QGuiApplication::primaryScreen()->virtualSize();
    form->resize(100000, 100000);
    form->FormPaint();
    EXPECT_EQ(form->size(), screens);
    EXPECT_EQ(form->BackBuffer().size(), screens);

    form->setMinimumSize(0, 0);
    for (const QSize size : {QSize(658, 134), QSize(211, 480)}) {
        form->resize(size);
        form->FormPaint();
        form->RedrawChips({form->GameBoard->CellAt(0, 0)});
        QImage plain(size, QImage::Format_RGB32);
        plain.fill(form->BackgroundColour);
        EXPECT_EQ(form->BackBuffer(), plain) << size.width() << "x" << size.height();
    }
}

// Guards the anchors: panels and list stretch, buttons and the right-hand column keep their
// distance from the right and bottom edges, the score stays put.
TEST_F(PellinFormTest, AnchorsFollowTheWindow) {
    form->FormOnIdle();
    form->resize(800, 600); // 142 wider, 120 taller
    EXPECT_EQ(Child<QWidget>("valueLabel")->geometry(), QRect(65, 10, 77, 25));
    EXPECT_EQ(Child<QWidget>("PreplayPanel")->geometry(), QRect(144, 0, 654, 41));
    EXPECT_EQ(Child<QWidget>("ExitButton")->geometry(), QRect(555, 5, 96, 32));
    EXPECT_EQ(Child<QWidget>("livesArea")->geometry(), QRect(59, 8, 291, 27));
    EXPECT_EQ(Child<QWidget>("bestWordList")->geometry(), QRect(588, 64, 206, 347));
    EXPECT_EQ(Child<QWidget>("wordInProgress")->geometry(), QRect(588, 563, 206, 30));
}

// Guards repaints: a chip's repaint changes only its rectangle and reaches the screen before
// RedrawChips returns; a suspended board shows no chips, and chip repaints do not give them
// away until it is shown again.
TEST_F(PellinFormTest, RepaintsAndSuspension) {
    form->FormOnIdle();
    form->FormPaint();
    const QImage before = form->BackBuffer().copy();
    Chip* chip = form->GameBoard->CellAt(5, 7);
    std::vector<Chip*> changed;
    form->GameBoard->SelectChip(chip, false, changed);
    form->RedrawChips(changed);
    const Rect b = chip->Bounds();
    const QRect area(form->BoardToClient(QPoint(b.left, b.top)), QSize(40, 40));
    QImage after = form->BackBuffer().copy();
    EXPECT_EQ(form->grab().toImage().pixelColor(area.center() + QPoint(-6, 1)),
              QColor(0xFF, 0x40, 0x40)); // the dot of a one-chip chain
    EXPECT_NE(after.copy(area), before.copy(area));
    QImage old = before.copy();
    for (QImage* image : {&after, &old}) {
        QPainter(image).fillRect(area, Qt::black);
    }
    EXPECT_EQ(after, old);

    const QPoint disc = area.topLeft() + QPoint(6, 20);
    form->Suspended = true;
    form->FormPaint();
    form->RedrawChips({chip});
    EXPECT_EQ(form->grab().toImage().pixelColor(disc), form->Painter.BoardColour);
    form->Suspended = false;
    form->FormPaint();
    EXPECT_EQ(form->grab().toImage().pixelColor(disc), BoardPainter::DiscColour(chip->Value()));
}

// Guards showing and closing: the first idle moment shows the window once; while a game is in
// progress a close is refused; between games Exit closes it and the program is told to end.
TEST_F(PellinFormTest, ShownOnceAndClosedBetweenGames) {
    QSignalSpy closed(form.get(), &TPellinForm::Closed);
    form->FormOnIdle();
    form->FormOnIdle();
    EXPECT_TRUE(form->Shown && form->isVisible());
    Child<QWidget>("PreplayPanel")->hide();
    Child<QWidget>("PlayPanel")->show();
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());

    Child<QWidget>("PlayPanel")->hide();
    Child<QWidget>("PreplayPanel")->show();
    Child<QPushButton>("ExitButton")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(closed.count(), 1);
}

// Guards the placement: nothing stored while hidden; moves and resizes of the visible window
// stored once it settles, not per event (each store rewrites the settings file); maximising
// stores the state and keeps the normal placement; the next window comes back maximised with
// half the restored size as its minimum, but never below half the designed size.
TEST_F(PellinFormTest, PlacementPersists) {
    form->move(40, 30);
    EXPECT_EQ(Stored("PellinFormLeft"), QString());
    form->FormOnIdle();
    form->resize(700, 500);
    for (int x = 41; x <= 50; ++x) {
        form->move(x, 60);
    }
    EXPECT_EQ(Stored("PellinFormLeft"), QString()) << "still moving: nothing written yet";
    QTRY_COMPARE_WITH_TIMEOUT(Stored("PellinFormLeft"), QStringLiteral("50"), 5000);
    EXPECT_EQ(Stored("PellinFormWidth"), QStringLiteral("700"));
    EXPECT_EQ(Stored("PellinFormMaximized"), QStringLiteral("0"));
    form->showMaximized();
    QTRY_COMPARE_WITH_TIMEOUT(Stored("PellinFormMaximized"), QStringLiteral("1"), 5000);
    EXPECT_EQ(Stored("PellinFormWidth"), QStringLiteral("700"));

    form.reset();
    MakeForm();
    const QSize least = form->minimumSize();
    EXPECT_TRUE(form->windowState().testFlag(Qt::WindowMaximized));

    // A window closed while its placement settles stores it on the way out; one stored tiny
    // still comes back at the smallest size where everything shows.
    form->showNormal();
    form->setMinimumSize(0, 0);
    form->resize(10, 10);
    form->close();
    EXPECT_EQ(Stored("PellinFormWidth"), QStringLiteral("10"));
    form.reset();
    MakeForm();
    EXPECT_EQ(form->size(), least);
    EXPECT_EQ(form->minimumSize(), least);
}

// Guards the smallest window: only the board scales, so the window cannot become smaller than
// the size at which, in both panels, every control is whole, inside the window and clear of
// the others, and the tiles can still be read.
TEST_F(PellinFormTest, SmallestWindowShowsEverything) {
    form->FormOnIdle();
    form->resize(1, 1);
    EXPECT_EQ(form->size(), form->minimumSize());
    EXPECT_LT(form->width(), 658);
    EXPECT_LT(form->height(), 480);
    form->FormPaint();
    EXPECT_GE(form->GameBoard->CellAt(0, 0)->Bounds().right -
                  form->GameBoard->CellAt(0, 0)->Bounds().left,
              TPellinForm::ReadableTile);
    for (const bool playing : {false, true}) {
        Child<QWidget>("PlayPanel")->setVisible(playing);
        Child<QWidget>("PreplayPanel")->setVisible(!playing);
        std::vector<QWidget*> controls;
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->isVisibleTo(form.get()) &&
                (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) ||
                 qobject_cast<QListWidget*>(w) || w->objectName() == QLatin1String("livesArea"))) {
                controls.push_back(w);
            }
        }
        for (QWidget* w : controls) {
            const QRect r(w->mapTo(form.get(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()) &&
                        form->rect().contains(r))
                << w->objectName().toStdString() << " is cut off";
            for (QWidget* other : controls) {
                const QRect o(other->mapTo(form.get(), QPoint(0, 0)), other->size());
                EXPECT_TRUE(other == w || !r.intersects(o))
                    << w->objectName().toStdString() << " covers "
                    << other->objectName().toStdString();
            }
        }
    }
}

} // namespace
