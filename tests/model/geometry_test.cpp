#include "board.h"
#include "board_helpers.h"

#include <gtest/gtest.h>

namespace {

using testhelp::Put;

// Guards the grid's extent: the sizes reported, every chip inside answering with its own
// coordinates and board, and null for every address just outside (signed checks).
TEST(BoardGrid, DimensionsAndCellAt) {
    Board board(12, 9);
    EXPECT_EQ(board.RowCount(), 12u);
    EXPECT_EQ(board.SlotCount(), 18u);
    ASSERT_NE(board.CellAt(11, 17), nullptr);
    EXPECT_EQ(board.CellAt(11, 17)->Row(), 11);
    EXPECT_EQ(board.CellAt(11, 17)->Slot(), 17);
    EXPECT_EQ(board.CellAt(3, 4)->Owner(), &board);
    EXPECT_EQ(board.CellAt(12, 0), nullptr);
    EXPECT_EQ(board.CellAt(0, 18), nullptr);
    EXPECT_EQ(board.CellAt(-1, 0), nullptr);
    EXPECT_EQ(board.CellAt(0, -1), nullptr);
    EXPECT_EQ(board.CellAt(INT32_MIN, INT32_MIN), nullptr);
    EXPECT_EQ(testhelp::OccupiedCount(board), 0);
    EXPECT_TRUE(board.Selection().empty());

    Board empty(0, 0);
    EXPECT_EQ(empty.CellAt(0, 0), nullptr);
}

// Guards the cell geometry: slot halves, row pitch upward from the bottom edge at y = 0, the
// rectangle and midpoint a chip reports, and huge-but-defined values before any geometry is set.
TEST(BoardGrid, CellBoundsAndMidPoint) {
    Board board(12, 9);
    board.SetGeometry(40, 40, 34);
    EXPECT_EQ(board.CellBounds(0, 0), (Rect{0, -40, 40, 0}));
    EXPECT_EQ(board.CellBounds(1, 1), (Rect{20, -74, 60, -34}));
    EXPECT_EQ(board.CellBounds(11, 17), (Rect{340, -414, 380, -374}));
    EXPECT_EQ(board.CellAt(1, 1)->Bounds(), board.CellBounds(1, 1));
    EXPECT_EQ(board.CellAt(0, 1)->MidPoint(), (Point{40, -20}));
    EXPECT_EQ(board.CellAt(1, 1)->MidPoint(), (Point{40, -54}));

    board.SetGeometry(41, 41, 35); // odd sizes: the midpoint rounds toward the bottom right
    EXPECT_EQ(board.CellAt(0, 0)->MidPoint(), (Point{21, -20}));

    Board unset(12, 9);
    const Rect far = unset.CellBounds(11, 17);
    EXPECT_LE(far.top, far.bottom);
    EXPECT_LE(far.left, far.right);
    EXPECT_EQ(unset.CellBounds(0, 0), (Rect{0, -Board::kNoGeometry, Board::kNoGeometry, 0}));
}

// Guards the neighbour rule: the six neighbours of a tile and nothing else, symmetric, and
// independent of whether the cells hold tiles.
TEST(BoardGrid, Adjacency) {
    Board board(12, 9);
    const Chip* centre = board.CellAt(5, 5);
    for (auto [r, s] : {std::pair{5, 3}, {5, 7}, {4, 4}, {4, 6}, {6, 4}, {6, 6}}) {
        EXPECT_TRUE(Board::IsAdjacent(centre, board.CellAt(r, s))) << r << "," << s;
        EXPECT_TRUE(Board::IsAdjacent(board.CellAt(r, s), centre)) << r << "," << s;
    }
    for (auto [r, s] : {std::pair{5, 5}, {3, 5}, {7, 5}, {5, 9}, {4, 5}, {6, 8}, {5, 1}}) {
        EXPECT_FALSE(Board::IsAdjacent(centre, board.CellAt(r, s))) << r << "," << s;
    }
    EXPECT_FALSE(Board::IsAdjacent(centre, nullptr));
}

// Guards hit testing: only occupied tiles are found, only inside the open disc (not the square's
// corners, not on the rim), with the depth measured from the rim, and nothing before geometry
// makes a point miss the board.
TEST(HitTest, OpenDiscAndDepth) {
    Board board(12, 9);
    board.SetGeometry(40, 40, 34);
    Chip* tile = Put(board, 0, 0, "E");
    int32_t depth = -1;

    EXPECT_EQ(board.HitTest(Point{20, -20}, depth), tile);
    EXPECT_EQ(depth, 20);
    EXPECT_EQ(board.HitTest(Point{20, -39}, depth), tile);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(board.HitTest(Point{1, -20}, depth), tile);
    EXPECT_EQ(depth, 1);

    depth = -7;
    EXPECT_EQ(board.HitTest(Point{20, 0}, depth), nullptr);   // exactly on the rim
    EXPECT_EQ(board.HitTest(Point{0, -20}, depth), nullptr);  // rim at the left
    EXPECT_EQ(board.HitTest(Point{2, -2}, depth), nullptr);   // corner of the square
    EXPECT_EQ(board.HitTest(Point{20, -40}, depth), nullptr); // top edge is outside
    EXPECT_EQ(board.HitTest(Point{20, 5}, depth), nullptr);   // below the board
    EXPECT_EQ(board.HitTest(Point{60, -20}, depth), nullptr); // empty neighbour cell
    EXPECT_EQ(depth, -7);                                     // untouched on a miss

    Chip* odd = Put(board, 1, 1, "T");
    EXPECT_EQ(board.HitTest(Point{40, -54}, depth), odd);
    EXPECT_EQ(depth, 20);
    board.CellAt(1, 1)->Set(nullptr, 0);
    EXPECT_EQ(board.HitTest(Point{40, -54}, depth), nullptr);
}

// Guards the overlap rule: rows overlap because the pitch is truncated, and a point inside two
// discs belongs to the lower row's tile.
TEST(HitTest, LowerRowWinsWhereDiscsOverlap) {
    Board board(12, 9);
    board.SetGeometry(40, 40, 34);
    Chip* lower = Put(board, 0, 0, "A");
    Chip* upper = Put(board, 1, 1, "B");
    int32_t depth = 0;
    // (30, -37) lies 19.7 px from both centres, (20, -20) and (40, -54).
    EXPECT_EQ(board.HitTest(Point{30, -37}, depth), lower);
    lower->Set(nullptr, 0);
    EXPECT_EQ(board.HitTest(Point{30, -37}, depth), upper);
}

} // namespace
