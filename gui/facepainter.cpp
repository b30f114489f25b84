#include "facepainter.h"

#include "gui/boardpainter.h"
#include "gui/utils.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace {

// k per cent of s, rounded.
int Percent(int k, int s) {
    return (k * s + 50) / 100;
}

qreal SaneRatio(qreal ratio) {
    return ratio > 0.0 && std::isfinite(ratio) ? ratio : 1.0;
}

} // namespace

QColor FaceColour(uint32_t lives) {
    if (lives <= 1) {
        return QColor(0xFF, 0x80, 0x00);
    }
    if (lives == 2) {
        return QColor(0xF7, 0xCA, 0x15);
    }
    return QColor(0xFF, 0xFF, 0x00);
}

QImage FaceBitmap(uint32_t lives, int32_t size, const QColor& background, qreal ratio) {
    // Whether a face can be made out is a matter of its size on the screen, not of how many
    // device pixels the screen gives it.
    if (size < 3) {
        return QImage();
    }
    ratio = SaneRatio(ratio);
    const int device = BoardPainter::DeviceLength(size, ratio);
    const int s = 4 * device;
    QImage big(s, s, QImage::Format_RGB888);
    big.fill(background);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing, false);
        const int e = Percent(25, s);
        const int d = Percent(15, s);
        const int q = Percent(24, s);
        const int w = Percent(5, s);
        const int f = w / 2 + 2;

        p.setPen(QPen(Qt::black, w));
        p.setBrush(FaceColour(lives));
        p.drawEllipse(QRect(QPoint(f, f), QPoint(s - f - 1, s - f - 1)));

        if (d > 0) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::black);
            p.drawEllipse(QRect(e, e, d, d));
            p.drawEllipse(QRect(s - e - d, e, d, d));

            p.setPen(QPen(Qt::black, w));
            p.setBrush(Qt::NoBrush);
            if (lives <= 1) {
                // The upper half of an ellipse set low in the face: a frown.
                const int k = Percent(50, s) - q;
                p.drawArc(QRect(QPoint(q, q + k), QPoint(s - q - 1, s - q + k - 1)), 0, 180 * 16);
            } else if (lives == 2) {
                const int v = Percent(20, s);
                const int t = Percent(60, s);
                p.fillRect(QRect(v, t, s - 2 * v, w), Qt::black);
            } else {
                // The lower half: a smile.
                p.drawArc(QRect(QPoint(q, q), QPoint(s - q - 1, s - q - 1)), 180 * 16, 180 * 16);
            }
        }
    }
    QImage face(device, device, QImage::Format_RGB888);
    face.fill(background);
    ShrinkBitmap(big, face);
    QImage result = face.convertToFormat(QImage::Format_RGB32);
    result.setDevicePixelRatio(ratio);
    return result;
}

void PaintFaces(QPainter& canvas, QSize box, uint32_t lives, const QColor& background) {
    canvas.fillRect(QRect(QPoint(0, 0), box), background);
    if (lives == 0 || box.width() <= 0 || box.height() <= 0) {
        return;
    }
    int64_t c = static_cast<int64_t>(box.width()) / lives;
    if (box.height() < c) {
        c = box.height();
    }
    const QPaintDevice* device = canvas.device();
    const qreal ratio = SaneRatio(device != nullptr ? device->devicePixelRatio() : 1.0);
    const QImage face = FaceBitmap(lives, static_cast<int32_t>(c), background, ratio);
    if (face.isNull()) {
        return;
    }
    const int y = (box.height() - static_cast<int>(c)) / 2;
    const int side = static_cast<int>(c);
    for (uint32_t i = 0; i < lives; ++i) {
        canvas.drawImage(QRectF(static_cast<int>(i * c), y, side, side), face);
    }
}
