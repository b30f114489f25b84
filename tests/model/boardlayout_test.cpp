#include "boardlayout.h"

#include <gtest/gtest.h>

namespace {

// Guards the design layout of the main window: a free area of 446 x 445 gives tiles of 40, a
// pitch of 34 and a board spanning client x 33 to 413 and y 51 to 465 of a 480-high client.
TEST(BoardLayoutTest, DesignSizeOfTheMainWindow) {
    const BoardLayout l = LayoutBoard(446, 445, 12, 18);
    ASSERT_TRUE(l.fits);
    EXPECT_EQ(l.tile, 40);
    EXPECT_EQ(l.pitch, 34);
    EXPECT_EQ(l.width, 380);
    EXPECT_EQ(l.height, 414);
    EXPECT_EQ(l.originX, 33);
    EXPECT_EQ(l.originY, 15);
    EXPECT_EQ(BoardToClient(Point{0, -l.height}, l.originX, l.originY, 480), (Point{33, 51}));
    EXPECT_EQ(BoardToClient(Point{l.width, 0}, l.originX, l.originY, 480), (Point{413, 465}));
}

// Guards the height limit: widening the free area without making it taller stops the tiles
// growing once tile + 11 pitches no longer stays below the height minus the margin, and the
// board is then centred in the extra width.
TEST(BoardLayoutTest, HeightBindsWhenTheWindowWidens) {
    const BoardLayout narrow = LayoutBoard(446, 445, 12, 18);
    const BoardLayout wide = LayoutBoard(2000, 445, 12, 18);
    ASSERT_TRUE(wide.fits);
    EXPECT_EQ(wide.tile, narrow.tile);
    EXPECT_LT(wide.tile + wide.pitch * 11, 445 - 24);
    EXPECT_GE((wide.tile + 2) + RowPitch(wide.tile + 2) * 11, 445 - 24);
    EXPECT_EQ(wide.originX, (2000 - wide.width) / 2);

    // A taller area lets the width decide again.
    const BoardLayout tall = LayoutBoard(2000, 4000, 12, 18);
    EXPECT_EQ(tall.tile, (2000 - 24) / 19 * 2);
    EXPECT_EQ(LayoutBoard(1708, 1045, 12, 18).tile, 96);
}

// Guards the give-up rules: under 100 pixels of free width or height nothing is drawn, and
// room that no even tile of 2 or more fits draws nothing either.
TEST(BoardLayoutTest, TooLittleRoomDrawsNothing) {
    EXPECT_FALSE(LayoutBoard(99, 445, 12, 18).fits);
    EXPECT_FALSE(LayoutBoard(446, 99, 12, 18).fits);
    EXPECT_TRUE(LayoutBoard(100, 100, 12, 18).fits);
    EXPECT_EQ(LayoutBoard(100, 100, 12, 18).tile, 8);
    // 100 rows of tiles never fit 100 pixels, even at 2 pixels a tile.
    EXPECT_FALSE(LayoutBoard(100, 100, 100, 18).fits);
    EXPECT_FALSE(LayoutBoard(446, 445, 0, 18).fits);
    EXPECT_FALSE(LayoutBoard(446, 445, 12, 0).fits);
}

// Guards the pitch: 0.866 of the tile truncated, computed exactly at every size.
TEST(BoardLayoutTest, RowPitchTruncates) {
    EXPECT_EQ(RowPitch(40), 34);
    EXPECT_EQ(RowPitch(12), 10);
    EXPECT_EQ(RowPitch(500), 433);
    EXPECT_EQ(RowPitch(2), 1);
}

// Guards the How To Play example: at its design area of 185 x 185 the 5 x 8-slot board is 180
// by 176 with tiles of 40; in 100 x 60 the tile shrinks from 22 until 12 (pitch 10, height 52);
// an area the board cannot fit at all, or narrower than nine half-tiles, draws nothing.
TEST(BoardLayoutTest, HowToPlayExample) {
    const BoardLayout design = LayoutExample(185, 185, 5, 8);
    ASSERT_TRUE(design.fits);
    EXPECT_EQ(design.tile, 40);
    EXPECT_EQ(design.pitch, 34);
    EXPECT_EQ(design.width, 180);
    EXPECT_EQ(design.height, 176);

    const BoardLayout small = LayoutExample(100, 60, 5, 8);
    ASSERT_TRUE(small.fits);
    EXPECT_EQ(small.tile, 12);
    EXPECT_EQ(small.pitch, 10);
    EXPECT_EQ(small.height, 52);

    EXPECT_FALSE(LayoutExample(185, 6, 5, 8).fits);
    EXPECT_TRUE(LayoutExample(18, 7, 5, 8).fits);
    EXPECT_FALSE(LayoutExample(8, 185, 5, 8).fits);
}

// Guards the coordinate mapping: client to board undoes board to client everywhere.
TEST(BoardLayoutTest, ClientAndBoardCoordinatesAreInverse) {
    for (const Point p : {Point{0, 0}, Point{17, -300}, Point{-5, 12}}) {
        const Point c = BoardToClient(p, 33, 15, 480);
        EXPECT_EQ(ClientToBoard(c, 33, 15, 480), p);
    }
    EXPECT_EQ(ClientToBoard(Point{33, 465}, 33, 15, 480), (Point{0, 0}));
}

} // namespace
