#include "boardlayout.h"

#include <gtest/gtest.h>

namespace {

// Guards the design layout: a free area of 446 x 445 gives tiles of 40, a pitch of 34 and a
// board spanning client x 33 to 413 and y 51 to 465 of a 480-high client; the mappings
// between client and board coordinates undo each other.
TEST(BoardLayoutTest, DesignSize) {
    const BoardLayout l = LayoutBoard(446, 445, 12, 18);
    ASSERT_TRUE(l.fits);
    EXPECT_EQ(l.tile, 40);
    EXPECT_EQ(l.pitch, 34);
    EXPECT_EQ(l.originX, 33);
    EXPECT_EQ(l.originY, 15);
    EXPECT_EQ(BoardToClient(Point{0, -l.height}, l.originX, l.originY, 480), (Point{33, 51}));
    EXPECT_EQ(BoardToClient(Point{l.width, 0}, l.originX, l.originY, 480), (Point{413, 465}));
    EXPECT_EQ(ClientToBoard(Point{50, 100}, 33, 15, 480), (Point{17, -365}));
    EXPECT_EQ(RowPitch(500), 433); // exact where floating point might round down
}

// Guards the height limit and the give-up rules: widening without growing taller keeps the
// tile once tile + 11 pitches reaches the height minus the margin, centred in the width;
// under 100 pixels of either, or with no even tile of 2 or more fitting, nothing is drawn.
TEST(BoardLayoutTest, HeightBindsAndTooLittleRoom) {
    const BoardLayout wide = LayoutBoard(2000, 445, 12, 18);
    EXPECT_EQ(wide.tile, 40);
    EXPECT_EQ(wide.originX, (2000 - 380) / 2);
    EXPECT_EQ(LayoutBoard(2000, 4000, 12, 18).tile, (2000 - 24) / 19 * 2);
    EXPECT_EQ(LayoutBoard(1708, 1045, 12, 18).tile, 96);

    EXPECT_FALSE(LayoutBoard(99, 445, 12, 18).fits);
    EXPECT_FALSE(LayoutBoard(446, 99, 12, 18).fits);
    EXPECT_EQ(LayoutBoard(100, 100, 12, 18).tile, 8);
    EXPECT_FALSE(LayoutBoard(100, 100, 100, 18).fits);
}

// Guards the How To Play example: 185 x 185 gives tiles of 40 and a board of 180 x 176; in
// 100 x 60 the tile shrinks from 22 to 12 (pitch 10, height 52); no fit, or an area narrower
// than nine half-tiles of 2, draws nothing.
TEST(BoardLayoutTest, HowToPlayExample) {
    const BoardLayout design = LayoutExample(185, 185, 5, 8);
    EXPECT_EQ(design.tile, 40);
    EXPECT_EQ(design.width, 180);
    EXPECT_EQ(design.height, 176);
    const BoardLayout small = LayoutExample(100, 60, 5, 8);
    EXPECT_EQ(small.tile, 12);
    EXPECT_EQ(small.pitch, 10);
    EXPECT_EQ(small.height, 52);
    EXPECT_FALSE(LayoutExample(185, 6, 5, 8).fits);
    EXPECT_FALSE(LayoutExample(8, 185, 5, 8).fits);
}

} // namespace
