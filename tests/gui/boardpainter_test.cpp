// The board painter on its own, drawing into an image: disc colours, the background between
// discs, the chain line and dot, single-chip repaints and the disc cache.
#include "gui/boardpainter.h"
#include "model/board.h"
#include "model/chip.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Chips = std::vector<Chip*>;

constexpr int kHeight = 40 + 11 * 34; // the 12-row board at tiles of 40
const QColor kSentinel(0xFF, 0x00, 0xFF);

// A 12 x 9 board at tiles of 40, painted into an image of exactly the board's size.
class PainterTest : public ::testing::Test {
protected:
    Board board{12, 9};
    BoardPainter painter;
    QImage canvas{380, kHeight, QImage::Format_RGB32};

    PainterTest() {
        board.SetGeometry(40, 40, 34);
        canvas.fill(kSentinel);
    }

    Chip* Put(int row, int slot, const std::string& letter, bool select = false) {
        Chip* chip = board.CellAt(row, slot);
        std::string text = letter;
        chip->Set(text, SupplyLetter(text));
        if (select) {
            Chips changed;
            board.SelectChip(chip, false, changed);
        }
        return chip;
    }

    void Paint(const Chips& chips, bool strips = false) {
        QPainter p(&canvas);
        if (strips) {
            painter.PaintBoardStrip(19, 20, QPoint(0, 0), p, kHeight);
        }
        painter.PaintTiles(chips, board.Selection(), QPoint(0, kHeight), p, board);
    }

    void PaintAll() {
        Chips occupied;
        for (int r = 0; r < 12; ++r) {
            for (int s = 0; s < 18; ++s) {
                if (board.CellAt(r, s)->IsOccupied()) {
                    occupied.push_back(board.CellAt(r, s));
                }
            }
        }
        Paint(occupied, true);
    }

    QRect Cell(const Chip* chip) const {
        const Rect b = chip->Bounds();
        return QRect(b.left, b.top + kHeight, b.right - b.left, b.bottom - b.top);
    }

    QColor At(QPoint p) const { return canvas.pixelColor(p); }

    // Only the chain line is drawn in a colour whose red clearly exceeds its green: the board
    // is green, the discs white to yellow, rims and letters black.
    int ReddishPixels(const QRect& area) const {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = canvas.pixelColor(x, y);
                count += c.red() - c.green() > 40 ? 1 : 0;
            }
        }
        return count;
    }
};

// Guards the disc fill by value (white for 1, a deeper yellow per point, pure yellow from 9, no
// value overflowing the colour range), the board colour between three touching discs, and
// the disc letter "QU" shown as "Qu".
TEST_F(PainterTest, DiscColoursAndBackground) {
    EXPECT_EQ(BoardPainter::DiscColour(2), QColor(255, 255, 223));
    EXPECT_EQ(BoardPainter::DiscColour(8), QColor(255, 255, 31));
    EXPECT_EQ(BoardPainter::DiscColour(9), QColor(255, 255, 0));
    EXPECT_EQ(BoardPainter::DiscColour(31), QColor(255, 255, 0));
    EXPECT_EQ(BoardPainter::DiscColour(0), QColor(255, 255, 255));
    EXPECT_EQ(BoardPainter::TileText("QU"), QStringLiteral("Qu"));

    Chip* a = Put(2, 4, "E");
    Chip* b = Put(2, 6, "Z");
    Chip* c = Put(3, 5, "K");
    PaintAll();
    for (Chip* chip : {a, b, c}) {
        const QRect r = Cell(chip);
        EXPECT_EQ(At(QPoint(r.left() + 6, r.center().y())),
                  BoardPainter::DiscColour(chip->Value()));
    }
    const QPoint gap = (Cell(a).center() + Cell(b).center() + Cell(c).center()) / 3;
    EXPECT_EQ(At(gap), painter.BoardColour);
    EXPECT_EQ(At(Cell(board.CellAt(6, 8)).center()), painter.BoardColour);
}

// Guards the chain line: selected neighbours are joined by a red line through their centres;
// an unselected chip shows the part of the line reaching into its rectangle from a selected
// diagonal neighbour, also when repainted alone; chips away from the chain show no red.
TEST_F(PainterTest, ChainLine) {
    Chip* a = Put(2, 4, "R", true);
    Chip* up = Put(3, 3, "T", true);
    Chip* x = Put(2, 2, "O");
    Chip* far = Put(1, 7, "N");
    PaintAll();
    EXPECT_EQ(At((Cell(a).center() + Cell(up).center()) / 2), painter.ChainColour);
    EXPECT_GT(ReddishPixels(Cell(x)), 0);
    EXPECT_EQ(ReddishPixels(Cell(far)), 0);
    const QImage whole = canvas.copy(Cell(x));
    canvas.fill(kSentinel);
    Paint({x});
    EXPECT_EQ(canvas.copy(Cell(x)), whole);
}

// Guards the one-chip chain: a red dot of about half a tile at its centre, and no line.
TEST_F(PainterTest, SingleSelectedChipShowsADot) {
    Chip* i = Put(4, 8, "I", true);
    Chip* n = Put(4, 10, "N");
    PaintAll();
    const QPoint mid = Cell(i).center() + QPoint(1, 1);
    EXPECT_EQ(At(mid - QPoint(7, 0)), painter.ChainColour);
    EXPECT_EQ(At(mid + QPoint(7, 0)), painter.ChainColour);
    EXPECT_NE(At(mid - QPoint(13, 0)), painter.ChainColour);
    EXPECT_EQ(ReddishPixels(Cell(n)), 0);
}

// Guards single-chip repaints: repainting one chip changes nothing outside its rectangle, and
// inside it gives exactly what a whole repaint shows (neighbours' disc parts, the chain line,
// the values of the row above), whatever was on the canvas before.
TEST_F(PainterTest, OneChipRepaintsAlone) {
    for (int r = 0; r < 6; ++r) {
        for (int s = r % 2; s < 18; s += 2) {
            Put(r, s, std::string(1, static_cast<char>('A' + (r * 7 + s) % 26)));
        }
    }
    Chips changed;
    board.SelectChip(board.CellAt(2, 6), false, changed);
    board.SelectChip(board.CellAt(3, 7), false, changed);
    PaintAll();
    QImage before = canvas.copy();
    Chip* c = board.CellAt(3, 5);
    board.SelectChip(c, false, changed);
    Paint({c});
    QImage after = canvas.copy();
    EXPECT_NE(after.copy(Cell(c)), before.copy(Cell(c)));
    for (QImage* image : {&before, &after}) {
        QPainter(image).fillRect(Cell(c), Qt::black);
    }
    EXPECT_EQ(after, before);

    PaintAll();
    const QImage whole = canvas.copy();
    for (const Chip* chip : {c, board.CellAt(2, 4), board.CellAt(2, 6), board.CellAt(5, 5)}) {
        canvas.fill(kSentinel);
        Paint({const_cast<Chip*>(chip)});
        EXPECT_EQ(canvas.copy(Cell(chip)), whole.copy(Cell(chip))) << chip->Row() << chip->Slot();
    }
}

// Guards the disc cache: one image per value made once per tile size and reused, all remade
// when the size changes, see-through corners; a value outside the cache is drawn uncached.
TEST_F(PainterTest, DiscCacheServesOneSize) {
    const size_t v = static_cast<size_t>(Put(0, 0, "E")->Value());
    PaintAll();
    EXPECT_EQ(painter.DiscCacheWidth, 40);
    const qint64 key = painter.DiscCache[v].cacheKey();
    PaintAll();
    EXPECT_EQ(painter.DiscCache[v].cacheKey(), key);

    board.SetGeometry(24, 24, 20);
    PaintAll();
    EXPECT_EQ(painter.DiscCacheWidth, 24);
    EXPECT_NE(painter.DiscCache[v].cacheKey(), key);
    EXPECT_EQ(painter.DiscCache[v].size(), QSize(24, 24));
    EXPECT_EQ(qAlpha(painter.DiscCache[v].pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(painter.DiscCache[v].pixel(12, 12)), 255);

    Chip odd;
    odd.Set("X", 40);
    EXPECT_EQ(painter.DiscBitmap(odd, QRect(0, 0, 24, 24)).size(), QSize(24, 24));
    EXPECT_TRUE(painter.DiscCache[0].isNull());
}

// The rows of ink a text leaves when drawn alone at its place in a tile: first and last row
// with a clearly dark pixel, or {-1, -1} for none.
std::pair<int, int> InkRows(const QFont& font, QPoint baseline, const QString& text, int size) {
    QImage image(size, 2 * size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(baseline + QPoint(0, size / 2), text);
    }
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 192) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

// Guards the tile's texts: at every tile size the game can draw, the ink of each letter (the
// tail of the Q of "Qu" above all) ends at least a pixel above its value's ink.
TEST_F(PainterTest, LetterAndValueNeverTouch) {
    const QString family = painter.TileFont();
    for (int size = 16; size <= 96; size += 2) {
        for (char c = 'A'; c <= 'Z'; ++c) {
            static const char* const kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H",  "I",
                                                   "J", "K", "L", "M", "N", "O", "P", "QU", "R",
                                                   "S", "T", "U", "V", "W", "X", "Y", "Z"};
            std::string letter = kLetters[c - 'A'];
            const int32_t value = SupplyLetter(letter);
            const QString text = BoardPainter::TileText(letter);
            const auto places = BoardPainter::PlaceTexts(family, size, size, text, value);
            const auto letterInk =
                InkRows(BoardPainter::LetterFont(family, size, size), places.letter, text, size);
            const auto valueInk = InkRows(BoardPainter::ValueFont(family, size, size), places.value,
                                          QString::number(value), size);
            ASSERT_GE(letterInk.first, 0);
            EXPECT_LT(letterInk.second + 1, valueInk.first)
                << text.toStdString() << " at tile size " << size;
        }
    }
}

} // namespace
