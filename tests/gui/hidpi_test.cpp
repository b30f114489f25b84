// Drawing on a screen of device pixel ratio 2: the discs, their letters and the lives faces
// come out at the device's own resolution, as sharp as at ratio 1, not a ratio-1 picture
// scaled up.
#include "gui/boardpainter.h"
#include "gui/facepainter.h"
#include "model/board.h"
#include "model/chip.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

constexpr int kHeight = 40 + 11 * 34; // the 12-row board at tiles of 40
const QColor kBackground(0xA6, 0xCA, 0xF0);

// The canvas for a logical size at a ratio: as many device pixels as the ratio gives.
QImage Canvas(QSize logical, int ratio) {
    QImage image(logical * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    return image;
}

// What a screen of ratio 2 shows of a ratio-1 picture: every pixel doubled.
QImage Doubled(const QImage& image) {
    QImage big = image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    big.setDevicePixelRatio(1);
    return big;
}

// The pixels of `area` (device pixels) that are none of the flat colours: the edges where one
// colour turns into another. A crisp picture has them one device pixel wide.
int Intermediate(const QImage& image, const QRect& area, std::initializer_list<QColor> flat) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y) | 0xFF000000u;
            bool isFlat = false;
            for (const QColor& c : flat) {
                isFlat = isFlat || pixel == c.rgb();
            }
            count += isFlat ? 0 : 1;
        }
    }
    return count;
}

// Guards drawing at the device's resolution: at ratio 2 the disc cache holds discs of twice
// the tile size in device pixels (and remakes them when the ratio changes back), and the rim
// of a disc, the edges of its letter and the rim of a lives face are about half as wide in
// device pixels as a ratio-1 drawing shown doubled; the layout stays the same.
TEST(HighDpiTest, DiscsLettersAndFacesAreDrawnAtDeviceResolution) {
    Board board(12, 9);
    board.SetGeometry(40, 40, 34);
    Chip* chip = board.CellAt(2, 4);
    std::string letter = "W"; // diagonal strokes: every row crosses an edge
    chip->Set(letter, SupplyLetter(letter));
    BoardPainter painter;

    auto paintBoard = [&](int ratio) {
        QImage canvas = Canvas(QSize(380, kHeight), ratio);
        QPainter p(&canvas);
        painter.PaintBoardStrip(19, 20, QPoint(0, 0), p, kHeight);
        painter.PaintTiles({chip}, {}, QPoint(0, kHeight), p, board);
        return canvas;
    };
    const QImage coarse = Doubled(paintBoard(1));
    const QImage fine = paintBoard(2);
    ASSERT_EQ(fine.size(), coarse.size());
    const size_t v = static_cast<size_t>(chip->Value());
    EXPECT_EQ(painter.DiscCacheWidth, 40);
    EXPECT_EQ(painter.DiscCacheRatio, 2.0);
    EXPECT_EQ(painter.DiscCache[v].size(), QSize(80, 80));
    EXPECT_EQ(painter.DiscCache[v].devicePixelRatio(), 2.0);

    // The chip's cell in device pixels: the same place in both pictures.
    const Rect b = chip->Bounds();
    const QRect cell(2 * b.left, 2 * (b.top + kHeight), 80, 80);
    const QColor fill = BoardPainter::DiscColour(chip->Value());
    // Along the middle row from the cell's left edge to the centre: board, rim, fill.
    const QRect rim(cell.left(), cell.center().y(), 30, 1);
    // The letter's rows, inside the rim and above the value.
    const QRect glyph(cell.left() + 20, cell.top() + 22, 40, 24);
    for (const QRect& area : {rim, glyph}) {
        const int sharp = Intermediate(fine, area, {painter.BoardColour, fill, Qt::black});
        const int blurred = Intermediate(coarse, area, {painter.BoardColour, fill, Qt::black});
        EXPECT_GT(sharp, 0) << "no edge at all: nothing drawn, or drawn without smoothing";
        EXPECT_LE(sharp * 10, blurred * 7) << sharp << " vs " << blurred;
    }
    // The picture is the same one, only finer: the disc and the board where they were.
    EXPECT_EQ(fine.pixelColor(cell.left() + 12, cell.center().y()), fill);
    EXPECT_EQ(fine.pixelColor(cell.left() + 1, cell.top() + 1), painter.BoardColour);

    paintBoard(1);
    EXPECT_EQ(painter.DiscCacheRatio, 1.0);
    EXPECT_EQ(painter.DiscCache[v].size(), QSize(40, 40));

    // Three faces of 27 in the designed lives box: their rims, eyes and mouths.
    auto paintFaces = [](int ratio) {
        QImage canvas = Canvas(QSize(149, 27), ratio);
        QPainter p(&canvas);
        PaintFaces(p, QSize(149, 27), 3, kBackground);
        return canvas;
    };
    const QImage coarseFaces = Doubled(paintFaces(1));
    const QImage fineFaces = paintFaces(2);
    const QRect faces(0, 0, 2 * 3 * 27, 2 * 27);
    const QColor yellow = FaceColour(3);
    const int sharp = Intermediate(fineFaces, faces, {kBackground, yellow, Qt::black});
    const int blurred = Intermediate(coarseFaces, faces, {kBackground, yellow, Qt::black});
    EXPECT_GT(sharp, 0);
    EXPECT_LE(sharp * 10, blurred * 7) << sharp << " vs " << blurred;
    EXPECT_EQ(fineFaces.pixelColor(2 * 27 + 27, 10), yellow); // the second face's forehead
}

} // namespace
