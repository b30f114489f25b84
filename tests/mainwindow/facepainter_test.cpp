// The lives faces: colour by lives, mouth by lives, size and placement in the box.
#include "mainwindow/facepainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor kBackground(0xA6, 0xCA, 0xF0);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kAmber(0xF7, 0xCA, 0x15);
const QColor kOrange(0xFF, 0x80, 0x00);

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

bool AllBackground(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != kBackground) {
                return false;
            }
        }
    }
    return true;
}

// Points of a 27-pixel face: the forehead between the eyes shows the face colour; (13, 13) is
// the top of a frown's arc, (13, 16) the straight mouth and (13, 20) the bottom of a smile.
struct FacePoints {
    QPoint forehead{13, 5};
    QPoint middle{13, 13};
    QPoint bar{13, 16};
    QPoint low{13, 20};
};

// Guards three (and more) lives in the designed box: three yellow smiling faces of 27 pixels
// side by side from the left, the rest of the box background.
TEST(FacePainterTest, ThreeLivesSmile) {
    const QImage image = Box(3);
    const FacePoints f;
    for (int k = 0; k < 3; ++k) {
        const QPoint o(27 * k, 0);
        EXPECT_EQ(image.pixelColor(o + f.forehead), kYellow) << k;
        EXPECT_EQ(image.pixelColor(o + f.middle), kYellow) << k;
        EXPECT_TRUE(Dark(image.pixelColor(o + f.low))) << k;
    }
    EXPECT_EQ(image.pixelColor(148, 13), kBackground);
    EXPECT_EQ(image.pixelColor(82, 13), kBackground);
}

// Guards two lives: amber faces with a straight mouth (dark across the middle low down, but
// neither a smile's bottom nor a frown's top).
TEST(FacePainterTest, TwoLivesStraightMouth) {
    const QImage image = Box(2);
    const FacePoints f;
    for (int k = 0; k < 2; ++k) {
        const QPoint o(27 * k, 0);
        EXPECT_EQ(image.pixelColor(o + f.forehead), kAmber);
        EXPECT_EQ(image.pixelColor(o + f.middle), kAmber);
        EXPECT_EQ(image.pixelColor(o + f.low), kAmber);
        EXPECT_LT(image.pixelColor(o + f.bar).green(), kAmber.green() - 40);
    }
    EXPECT_EQ(image.pixelColor(60, 13), kBackground);
}

// Guards the last life: one orange frowning face.
TEST(FacePainterTest, LastLifeFrowns) {
    const QImage image = Box(1);
    const FacePoints f;
    EXPECT_EQ(image.pixelColor(f.forehead), kOrange);
    EXPECT_TRUE(Dark(image.pixelColor(f.middle)));
    EXPECT_EQ(image.pixelColor(f.low), kOrange);
    EXPECT_EQ(image.pixelColor(40, 13), kBackground);
}

// Guards many lives: the box width shared out (ten faces of 14 pixels), vertically centred,
// still yellow; and boxes where faces cannot be made out, or no lives, show background only.
TEST(FacePainterTest, SizesAndEmptyBoxes) {
    const QImage ten = Box(10);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(ten.pixelColor(14 * k + 7, 6 + 2), kYellow) << k;
        EXPECT_EQ(ten.pixelColor(14 * k + 7, 2), kBackground) << k;
        EXPECT_EQ(ten.pixelColor(14 * k + 7, 24), kBackground) << k;
    }
    EXPECT_EQ(ten.pixelColor(145, 13), kBackground);

    EXPECT_TRUE(AllBackground(Box(0)));
    EXPECT_TRUE(AllBackground(Box(60)));  // 2-pixel faces
    EXPECT_FALSE(AllBackground(Box(49))); // 3-pixel faces
    EXPECT_TRUE(AllBackground(Box(3, QSize(149, 2))));
    EXPECT_TRUE(FaceBitmap(3, 2, kBackground).isNull());
    EXPECT_EQ(FaceBitmap(3, 3, kBackground).size(), QSize(3, 3));
}

} // namespace
