// Drawing the board. Everything is drawn into a back buffer the size of the client area and
// copied to the screen: a whole repaint for FormPaint, just the changed chips' rectangles
// for RedrawChips, which shows them before it returns. The back buffer has the screen's
// resolution (the window's device pixel ratio); the layout stays in logical pixels, so the
// board is laid out alike on every screen and only drawn finer on a high-resolution one.

#include "mainwindow/pelform.h"

#include "model/board.h"
#include "model/boardlayout.h"
#include "ui_pelform.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {

const QColor kBevelDark(0x73, 0x97, 0xBD);
const QColor kBevelLight(0xD9, 0xFD, 0xFF);
constexpr int kBevelWidth = 3;

// A frame of `width` one-pixel rings inside the rectangle (right and bottom exclusive), each
// ring with topLeft on its left and top edges and bottomRight on its right and bottom edges.
void Frame(QPainter& p, QRect outer, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int k = 0; k < width; ++k) {
        const int l = outer.left() + k;
        const int t = outer.top() + k;
        const int r = outer.right() - k; // last column of the ring
        const int b = outer.bottom() - k;
        if (r <= l || b <= t) {
            break;
        }
        p.fillRect(l, t, 1, b - t + 1, topLeft);
        p.fillRect(l, t, r - l, 1, topLeft);
        p.fillRect(r, t, 1, b - t, bottomRight);
        p.fillRect(l, b, r - l + 1, 1, bottomRight);
    }
}

} // namespace

void TPellinForm::FormPaint() {
    std::vector<Chip*> chips;
    for (int32_t r = 0; r < static_cast<int32_t>(GameBoard->RowCount()); ++r) {
        for (int32_t s = 0; s < static_cast<int32_t>(GameBoard->SlotCount()); ++s) {
            Chip* chip = GameBoard->CellAt(r, s);
            if (chip->IsOccupied()) {
                chips.push_back(chip);
            }
        }
    }
    if (!BufferFits()) {
        const qreal ratio = BufferRatio();
        backBuffer = QImage(BoardPainter::DeviceLength(width(), ratio),
                            BoardPainter::DeviceLength(height(), ratio), QImage::Format_RGB32);
        backBuffer.setDevicePixelRatio(ratio);
    }
    backBuffer.fill(BackgroundColour);
    bufferStale = false;
    const bool outer = !batching;
    batching = true;
    DrawBoard(chips);
    batching = !outer;
    Flush(QRegion(rect()));
}

void TPellinForm::DrawBoard(const std::vector<Chip*>& chips) {
    const int32_t freeWidth = ui->wordInProgress->x();
    const int32_t freeHeight = height() - (ui->valueLabel->y() + ui->valueLabel->height());
    const BoardLayout layout =
        LayoutBoard(freeWidth, freeHeight, GameBoard->RowCount(), GameBoard->SlotCount());
    layoutFits = layout.fits;
    if (!layout.fits) {
        return;
    }
    GameBoard->SetGeometry(static_cast<uint32_t>(layout.tile), layout.tile, layout.pitch);
    OriginX = layout.originX;
    OriginY = layout.originY;
    const QPoint topLeft = BoardToClient(QPoint(0, -layout.height));
    const QPoint bottomRight = BoardToClient(QPoint(layout.width, 0));
    {
        QPainter p(&backBuffer);
        PaintBoardStrip(static_cast<int32_t>(GameBoard->SlotCount()) + 1, layout.tile / 2, topLeft,
                        p, layout.height);
        // Sunken inside, raised outside: the board sits in a groove.
        const QRect board(topLeft, bottomRight - QPoint(1, 1));
        Frame(p, board.adjusted(-kBevelWidth, -kBevelWidth, kBevelWidth, kBevelWidth), kBevelDark,
              kBevelLight, kBevelWidth);
        Frame(p,
              board.adjusted(-2 * kBevelWidth, -2 * kBevelWidth, 2 * kBevelWidth, 2 * kBevelWidth),
              kBevelLight, kBevelDark, kBevelWidth);
    }
    Flush(QRegion(
        QRect(topLeft, bottomRight)
            .adjusted(-2 * kBevelWidth, -2 * kBevelWidth, 2 * kBevelWidth, 2 * kBevelWidth)));
    if (!Suspended) {
        RedrawChips(chips);
    }
}

void TPellinForm::RedrawChips(const std::vector<Chip*>& chips) {
    if (bufferStale || !BufferFits()) {
        // The window changed size or screen since the last paint: the layout must be worked
        // out again, and the whole board drawn with it.
        FormPaint();
        return;
    }
    // A hidden board must not be given away chip by chip while the game is suspended.
    if (!layoutFits || Suspended || chips.empty()) {
        return;
    }
    const QPoint origin = BoardToClient(QPoint(0, 0));
    {
        QPainter p(&backBuffer);
        PaintTiles(chips, GameBoard->Selection(), origin, p, *GameBoard);
    }
    QRegion changed;
    for (const Chip* chip : chips) {
        const Rect b = chip->Bounds();
        changed +=
            QRect(QPoint(b.left, b.top) + origin, QPoint(b.right - 1, b.bottom - 1) + origin);
    }
    Flush(changed);
}

void TPellinForm::PaintTiles(const std::vector<Chip*>& chips, const std::vector<Chip*>& chain,
                             QPoint origin, QPainter& canvas, const Board& board) {
    Painter.PaintTiles(chips, chain, origin, canvas, board);
}

void TPellinForm::PaintBoardStrip(int32_t count, int32_t stripWidth, QPoint origin,
                                  QPainter& canvas, int32_t height) {
    Painter.PaintBoardStrip(count, stripWidth, origin, canvas, height);
}

QImage TPellinForm::DiscBitmap(const Chip& chip, const QRect& rect) {
    return Painter.DiscBitmap(chip, rect, BufferRatio());
}

qreal TPellinForm::BufferRatio() const {
    const qreal ratio = devicePixelRatio();
    return ratio > 0.0 && std::isfinite(ratio) ? ratio : 1.0;
}

bool TPellinForm::BufferFits() const {
    const qreal ratio = BufferRatio();
    return qFuzzyCompare(backBuffer.devicePixelRatio(), ratio) &&
           backBuffer.width() == BoardPainter::DeviceLength(width(), ratio) &&
           backBuffer.height() == BoardPainter::DeviceLength(height(), ratio);
}

QPoint TPellinForm::BoardToClient(QPoint board) const {
    const Point p = ::BoardToClient(Point{board.x(), board.y()}, OriginX, OriginY, height());
    return QPoint(p.x, p.y);
}

QPoint TPellinForm::ClientToBoard(QPoint client) const {
    const Point p = ::ClientToBoard(Point{client.x(), client.y()}, OriginX, OriginY, height());
    return QPoint(p.x, p.y);
}

void TPellinForm::Flush(const QRegion& region) {
    if (inPaintEvent || batching || !isVisible() || region.isEmpty()) {
        return;
    }
    repaint(region);
}

void TPellinForm::paintEvent(QPaintEvent* event) {
    inPaintEvent = true;
    if (bufferStale || !BufferFits()) {
        FormPaint();
        if (event->region() != QRegion(rect())) {
            update(); // the rest of the window shows the old picture until then
        }
    }
    QPainter p(this);
    // The region is in logical pixels, the buffer's own rectangles in device pixels.
    const qreal ratio = backBuffer.devicePixelRatio();
    for (const QRect& r : event->region()) {
        p.drawImage(QRectF(r), backBuffer,
                    QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
    }
    inPaintEvent = false;
}

bool TPellinForm::event(QEvent* event) {
    // On another screen the window may have another pixel ratio: the buffer is made afresh
    // at the next paint, and the whole window repainted so that nothing stays coarse.
    if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        || event->type() == QEvent::DevicePixelRatioChange
#endif
    ) {
        bufferStale = true;
        update();
    }
    return QWidget::event(event);
}
