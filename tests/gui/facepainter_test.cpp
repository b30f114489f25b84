// The lives faces: colour and mouth by lives, size and placement in the box.
#include "gui/facepainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor kBackground(0xA6, 0xCA, 0xF0);

QImage Box(uint32_t lives, QSize size = QSize(149, 27)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    PaintFaces(p, size, lives, kBackground);
    return image;
}

bool Dark(const QColor& c) {
    return c.red() < 150 && c.green() < 150;
}

// Guards the faces in the designed 149 x 27 box, 27 pixels each from the left: colour on the
// forehead (13, 5), yellow for 3 lives, amber for 2, orange for 1; the mouth by a smile's bottom
// (13, 20), a frown's top (13, 13) and the straight bar (13, 16); background after the last.
TEST(FacePainterTest, ColourAndMouthByLives) {
    struct Case {
        uint32_t lives;
        QColor colour;
        bool smile, frown, bar;
    };
    for (const Case& k : {Case{3, QColor(0xFF, 0xFF, 0x00), true, false, false},
                          Case{2, QColor(0xF7, 0xCA, 0x15), false, false, true},
                          Case{1, QColor(0xFF, 0x80, 0x00), false, true, false}}) {
        const QImage image = Box(k.lives);
        for (uint32_t f = 0; f < k.lives; ++f) {
            const int x = static_cast<int>(27 * f);
            EXPECT_EQ(image.pixelColor(x + 13, 5), k.colour) << k.lives;
            EXPECT_EQ(Dark(image.pixelColor(x + 13, 20)), k.smile) << k.lives;
            EXPECT_EQ(Dark(image.pixelColor(x + 13, 13)), k.frown) << k.lives;
            EXPECT_EQ(image.pixelColor(x + 13, 16).green() < k.colour.green() - 40, k.bar)
                << k.lives;
        }
        EXPECT_EQ(image.pixelColor(static_cast<int>(27 * k.lives) + 2, 13), kBackground);
    }
}

// Guards the sizes: ten lives share the width (faces of 14, centred vertically, still yellow);
// no lives, or faces under 3 pixels, show only the background.
TEST(FacePainterTest, SizesAndEmptyBoxes) {
    const QImage ten = Box(10);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(ten.pixelColor(14 * k + 7, 8), QColor(0xFF, 0xFF, 0x00)) << k;
        EXPECT_EQ(ten.pixelColor(14 * k + 7, 2), kBackground) << k;
    }
    EXPECT_EQ(ten.pixelColor(145, 13), kBackground);
    for (const QImage& empty : {Box(0), Box(60), Box(3, QSize(149, 2))}) {
        QImage plain(empty.size(), QImage::Format_RGB32);
        plain.fill(kBackground);
        EXPECT_EQ(empty, plain);
    }
    EXPECT_FALSE(FaceBitmap(3, 3, kBackground).isNull());
}

} // namespace
