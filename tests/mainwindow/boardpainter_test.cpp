// The board painter on its own, drawing into an image: disc colours, the background between
// discs, the chain line and dot, single-chip repaints and the disc cache.
#include "mainwindow/boardpainter.h"
#include "model/board.h"
#include "model/chip.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Chips = std::vector<Chip*>;

constexpr int kTile = 40;
constexpr int kPitch = 34;
constexpr int kBoardWidth = 19 * kTile / 2;       // 380
constexpr int kBoardHeight = kTile + 11 * kPitch; // 414
const QColor kSentinel(0xFF, 0x00, 0xFF);

// A 12 x 9 board at the design tile size, painted into an image exactly the board's size, so
// that image coordinates are board coordinates moved down by the board height.
class PainterTest : public ::testing::Test {
protected:
    Board board{12, 9};
    BoardPainter painter;
    QImage canvas{kBoardWidth, kBoardHeight, QImage::Format_RGB32};

    PainterTest() {
        board.SetGeometry(kTile, kTile, kPitch);
        canvas.fill(kSentinel);
    }

    Chip* Put(int row, int slot, const std::string& letter) {
        Chip* chip = board.CellAt(row, slot);
        std::string text = letter;
        chip->Set(text, SupplyLetter(text));
        return chip;
    }

    Chips Occupied() {
        Chips chips;
        for (int r = 0; r < 12; ++r) {
            for (int s = 0; s < 18; ++s) {
                if (board.CellAt(r, s)->IsOccupied()) {
                    chips.push_back(board.CellAt(r, s));
                }
            }
        }
        return chips;
    }

    QPoint Origin() const { return QPoint(0, kBoardHeight); }

    void PaintAll() {
        QPainter p(&canvas);
        painter.PaintBoardStrip(19, kTile / 2, QPoint(0, 0), p, kBoardHeight);
        painter.PaintTiles(Occupied(), board.Selection(), Origin(), p, board);
    }

    void Paint(const Chips& chips) {
        QPainter p(&canvas);
        painter.PaintTiles(chips, board.Selection(), Origin(), p, board);
    }

    QRect Cell(const Chip* chip) const {
        const Rect b = chip->Bounds();
        return QRect(b.left, b.top + kBoardHeight, b.right - b.left, b.bottom - b.top);
    }

    void Select(Chip* chip) {
        Chips changed;
        board.SelectChip(chip, false, changed);
    }

    QColor At(int x, int y) const { return canvas.pixelColor(x, y); }

    // Only the chain line is drawn in a colour whose red clearly exceeds its green: the board
    // is green, the discs white to yellow, the rims and letters black.
    int ReddishPixels(const QRect& area) const {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = At(x, y);
                count += c.red() - c.green() > 40 ? 1 : 0;
            }
        }
        return count;
    }
};

// Guards the disc fill: each value has its own colour (white for 1, a deeper yellow per point,
// pure yellow from 9), shown inside the rim away from the letter and value, and no value,
// however odd, overflows the colour range.
TEST_F(PainterTest, DiscColourFollowsTheValue) {
    EXPECT_EQ(BoardPainter::DiscColour(1), QColor(255, 255, 255));
    EXPECT_EQ(BoardPainter::DiscColour(2), QColor(255, 255, 223));
    EXPECT_EQ(BoardPainter::DiscColour(8), QColor(255, 255, 31));
    EXPECT_EQ(BoardPainter::DiscColour(9), QColor(255, 255, 0));
    EXPECT_EQ(BoardPainter::DiscColour(31), QColor(255, 255, 0));
    EXPECT_EQ(BoardPainter::DiscColour(0), QColor(255, 255, 255));
    EXPECT_EQ(BoardPainter::DiscColour(-7), QColor(255, 255, 255));

    Chip* e = Put(0, 0, "E");
    Chip* z = Put(0, 4, "Z");
    Chip* k = Put(3, 7, "K");
    PaintAll();
    for (Chip* chip : {e, z, k}) {
        const QRect r = Cell(chip);
        EXPECT_EQ(At(r.left() + 6, r.top() + r.height() / 2),
                  BoardPainter::DiscColour(chip->Value()))
            << chip->Letter();
    }
}

// Guards the transparency of discs: where three discs meet, the board colour shows through
// the corners of their images, and an empty cell is plain board.
TEST_F(PainterTest, BackgroundShowsBetweenDiscs) {
    Chip* a = Put(2, 4, "R");
    Chip* b = Put(2, 6, "S");
    Chip* c = Put(3, 5, "T");
    PaintAll();
    const QPoint ca = Cell(a).center();
    const QPoint cb = Cell(b).center();
    const QPoint cc = Cell(c).center();
    const QPoint gap((ca.x() + cb.x() + cc.x()) / 3, (ca.y() + cb.y() + cc.y()) / 3);
    EXPECT_EQ(At(gap.x(), gap.y()), painter.BoardColour);
    const QRect empty = Cell(board.CellAt(6, 8));
    EXPECT_EQ(At(empty.center().x(), empty.center().y()), painter.BoardColour);
    EXPECT_EQ(At(kBoardWidth - 1, 0), painter.BoardColour);
}

// Guards the chain line: two selected neighbours are joined by a red line through their
// centres, and a chip that is not selected still shows the part of the line that reaches into
// its rectangle from a selected diagonal neighbour.
TEST_F(PainterTest, ChainLineJoinsSelectedChips) {
    Chip* a = Put(2, 4, "R");
    Chip* b = Put(2, 6, "S");
    Select(a);
    Select(b);
    PaintAll();
    const int y = Cell(a).center().y();
    EXPECT_EQ(At(Cell(a).right(), y), painter.ChainColour);
    EXPECT_EQ(At(Cell(b).left(), y), painter.ChainColour);
    EXPECT_EQ(At(Cell(a).left() + 4, y), BoardPainter::DiscColour(a->Value()));
}

// The chain a (2,4) -> up (3,3) climbs to the left; the line's edge crosses the top right
// corner of x (2,2), which is not selected, and never reaches the far chip.
TEST_F(PainterTest, ChainLineCrossesUnselectedNeighbour) {
    Chip* a = Put(2, 4, "R");
    Chip* up = Put(3, 3, "T");
    Chip* x = Put(2, 2, "O");
    Chip* far = Put(1, 7, "N");
    Select(a);
    Select(up);
    PaintAll();
    const QImage whole = canvas.copy();
    EXPECT_GT(ReddishPixels(Cell(x)), 0);
    EXPECT_EQ(ReddishPixels(Cell(far)), 0);

    // Repainting x alone keeps the line.
    canvas.fill(kSentinel);
    Paint({x});
    EXPECT_EQ(canvas.copy(Cell(x)), whole.copy(Cell(x)));
}

// Guards the single-chip chain: a red dot of about half a tile at the chip's centre, and no
// line anywhere else.
TEST_F(PainterTest, SingleSelectedChipShowsADot) {
    Chip* i = Put(4, 8, "I");
    Chip* n = Put(4, 10, "N");
    Select(i);
    PaintAll();
    const QPoint mid = Cell(i).center() + QPoint(1, 1);
    EXPECT_EQ(At(mid.x() - 7, mid.y()), painter.ChainColour);
    EXPECT_EQ(At(mid.x() + 7, mid.y()), painter.ChainColour);
    EXPECT_NE(At(mid.x() - 13, mid.y()), painter.ChainColour);
    EXPECT_EQ(ReddishPixels(Cell(n)), 0);
}

// Guards single-chip repaints: repainting one chip changes nothing outside its rectangle,
// and what it paints inside is exactly what a whole repaint shows there, neighbours' disc
// parts, the chain line and the values of the row above included.
TEST_F(PainterTest, OneChipRepaintsAlone) {
    for (int r = 0; r < 6; ++r) {
        for (int s = r % 2; s < 18; s += 2) {
            Put(r, s, std::string(1, static_cast<char>('A' + (r * 7 + s) % 26)));
        }
    }
    Chip* a = board.CellAt(2, 6);
    Chip* b = board.CellAt(3, 7);
    Select(a);
    Select(b);
    PaintAll();
    const QImage before = canvas.copy();

    Chip* c = board.CellAt(3, 5);
    Select(c); // the chain a-b-c: c's rectangle changes, nothing else may
    Paint({c});
    const QRect cell = Cell(c);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (!cell.contains(x, y)) {
                ASSERT_EQ(canvas.pixel(x, y), before.pixel(x, y)) << x << "," << y;
            }
        }
    }
    EXPECT_NE(canvas.copy(cell), before.copy(cell));

    // Every rectangle repainted alone over a spoiled canvas comes out as the whole paint.
    PaintAll();
    const QImage whole = canvas.copy();
    for (Chip* chip : {a, b, c, board.CellAt(2, 4), board.CellAt(4, 6), board.CellAt(5, 5)}) {
        canvas.fill(kSentinel);
        Paint({chip});
        EXPECT_EQ(canvas.copy(Cell(chip)), whole.copy(Cell(chip)))
            << chip->Row() << "," << chip->Slot();
    }
}

// Guards the disc cache: one image per value made once per tile size and reused, all of them
// dropped and remade when the size changes; a value outside the cache is drawn uncached.
TEST_F(PainterTest, DiscCacheServesOneSize) {
    Chip* e = Put(0, 0, "E");
    PaintAll();
    EXPECT_EQ(painter.DiscCacheWidth, kTile);
    EXPECT_EQ(painter.DiscCacheHeight, kTile);
    const QImage& cached = painter.DiscCache[static_cast<size_t>(e->Value())];
    ASSERT_FALSE(cached.isNull());
    const qint64 key = cached.cacheKey();
    PaintAll();
    EXPECT_EQ(painter.DiscCache[static_cast<size_t>(e->Value())].cacheKey(), key);

    board.SetGeometry(24, 24, 20);
    PaintAll();
    EXPECT_EQ(painter.DiscCacheWidth, 24);
    const QImage& remade = painter.DiscCache[static_cast<size_t>(e->Value())];
    EXPECT_NE(remade.cacheKey(), key);
    EXPECT_EQ(remade.size(), QSize(24, 24));

    // Corners see through, the middle does not.
    EXPECT_EQ(qAlpha(remade.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(remade.pixel(23, 23)), 0);
    EXPECT_EQ(qAlpha(remade.pixel(12, 12)), 255);

    Chip odd;
    odd.Set("X", 40);
    const QImage uncached = painter.DiscBitmap(odd, QRect(0, 0, 24, 24));
    EXPECT_EQ(uncached.size(), QSize(24, 24));
    EXPECT_TRUE(painter.DiscCache[0].isNull());
    EXPECT_TRUE(painter.DiscBitmap(odd, QRect(0, 0, 0, 24)).isNull());
}

// Guards the letter shown: only the first letter is a capital, so the Q tile reads "Qu".
TEST(TileTextTest, QuReadsQu) {
    EXPECT_EQ(BoardPainter::TileText("QU"), QStringLiteral("Qu"));
    EXPECT_EQ(BoardPainter::TileText("E"), QStringLiteral("E"));
    EXPECT_EQ(BoardPainter::TileText(""), QString());
}

// Guards the strips: count strips of the given width, and nothing for empty sizes.
TEST_F(PainterTest, BoardStripsCoverTheirArea) {
    {
        QPainter p(&canvas);
        painter.PaintBoardStrip(3, 10, QPoint(5, 7), p, 20);
        painter.PaintBoardStrip(0, 10, QPoint(100, 100), p, 20);
        painter.PaintBoardStrip(3, 10, QPoint(100, 100), p, 0);
    }
    EXPECT_EQ(At(5, 7), painter.BoardColour);
    EXPECT_EQ(At(34, 26), painter.BoardColour);
    EXPECT_EQ(At(35, 26), kSentinel);
    EXPECT_EQ(At(34, 27), kSentinel);
    EXPECT_EQ(At(4, 7), kSentinel);
    EXPECT_EQ(At(100, 100), kSentinel);
}

} // namespace
