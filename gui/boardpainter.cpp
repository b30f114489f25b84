#include "boardpainter.h"

#include "gui/utils.h"
#include "model/board.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <QPaintDevice>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

QRect ToQRect(const Rect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

QPoint ToQPoint(const Point& p) {
    return QPoint(p.x, p.y);
}

QFont MakeFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(std::max(pixels, 1));
    font.setBold(bold);
    return font;
}

// Fonts and their measures for one tile size, worked out once per call.
struct TileFonts {
    QFont letter;
    QFont value;
    QFontMetrics letterMetrics;
    QFontMetrics valueMetrics;

    TileFonts(const QString& family, int w, int h)
        : letter(BoardPainter::LetterFont(family, w, h)),
          value(BoardPainter::ValueFont(family, w, h)), letterMetrics(letter), valueMetrics(value) {
    }
};

// The left end of the baseline of a value drawn bottom-centred in a w x h cell: the text
// cell's top lies text height + margin above the bottom.
QPoint ValueBaseline(const TileFonts& fonts, int w, int h, int32_t value) {
    const QString text = QString::number(value);
    const int tw = fonts.valueMetrics.horizontalAdvance(text);
    const int th = fonts.valueMetrics.height();
    const int margin = (w + h) / 36;
    return QPoint(w / 2 - tw / 2, h - th - margin + fonts.valueMetrics.ascent());
}

// A value drawn bottom-centred in the cell rectangle `cell` (work-image coordinates).
void DrawValue(QPainter& p, const TileFonts& fonts, const QRect& cell, int32_t value) {
    p.setFont(fonts.value);
    p.drawText(cell.topLeft() + ValueBaseline(fonts, cell.width(), cell.height(), value),
               QString::number(value));
}

BoardPainter::TextPlaces PlaceTexts(const TileFonts& fonts, int w, int h, const QString& letter,
                                    int32_t value) {
    BoardPainter::TextPlaces places;
    places.value = ValueBaseline(fonts, w, h, value);
    const int tw = fonts.letterMetrics.horizontalAdvance(letter);
    const int th = fonts.letterMetrics.height();
    places.letter = QPoint((w - tw + 1) / 2, (h - th + 1) / 2 + fonts.letterMetrics.ascent());
    // The ink, not the text cells: a font's cells overlap by design, its letters do not.
    const QRect letterInk = fonts.letterMetrics.tightBoundingRect(letter);
    const QRect valueInk = fonts.valueMetrics.tightBoundingRect(QString::number(value));
    const int valueTop = places.value.y() + valueInk.top();
    const int letterBottom = places.letter.y() + letterInk.top() + letterInk.height();
    const int gap = 1;
    if (letterBottom + gap > valueTop) {
        places.letter.ry() -= letterBottom + gap - valueTop;
    }
    return places;
}

// A chain as a line of `width` through its tiles' centres, or a lone tile as a dot of that
// size outlined by a pen of `dotPen`; `shift` places board coordinates in the work image.
void DrawChain(QPainter& p, const std::vector<const Chip*>& chain, const QColor& colour, int width,
               int dotPen, QPoint shift) {
    p.setRenderHint(QPainter::Antialiasing, true);
    if (chain.size() >= 2) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPolygon line;
        for (const Chip* link : chain) {
            line << ToQPoint(link->MidPoint()) + shift;
        }
        p.drawPolyline(line);
    } else {
        const QPoint mid = ToQPoint(chain.front()->MidPoint()) + shift;
        p.setPen(QPen(colour, dotPen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(colour);
        p.drawEllipse(QRectF(mid.x() - width / 2, mid.y() - width / 2, width, width));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

QFont BoardPainter::LetterFont(const QString& family, int w, int h) {
    return MakeFont(family, (w + h) / 4, false);
}

QFont BoardPainter::ValueFont(const QString& family, int w, int h) {
    return MakeFont(family, (w + h) / 8, true);
}

BoardPainter::TextPlaces BoardPainter::PlaceTexts(const QString& family, int w, int h,
                                                  const QString& letter, int32_t value) {
    return ::PlaceTexts(TileFonts(family, w, h), w, h, letter, value);
}

QString BoardPainter::TileText(const std::string& letter) {
    const QString text = QString::fromLatin1(letter.data(), static_cast<qsizetype>(letter.size()));
    return text.left(1) + text.mid(1).toLower();
}

QColor BoardPainter::DiscColour(int32_t value) {
    const int64_t deepen = std::clamp<int64_t>((static_cast<int64_t>(value) - 1) * 32, 0, 255);
    return QColor(255, 255, static_cast<int>(255 - deepen));
}

int BoardPainter::DeviceLength(int length, qreal ratio) {
    if (length <= 0) {
        return 0;
    }
    // A ratio a hair above a whole number (1.0000001 from a sum of scale factors) must not
    // add a pixel of its own.
    return std::max(1, static_cast<int>(std::ceil(length * ratio - 1e-6)));
}

const QString& BoardPainter::TileFont() {
    if (TileFontName.isEmpty()) {
        TileFontName = FontExists(QStringLiteral("Verdana")) ? QStringLiteral("Verdana")
                                                             : QStringLiteral("Arial");
    }
    return TileFontName;
}

QImage BoardPainter::MakeDisc(int32_t value, int32_t logicalWidth, int32_t logicalHeight,
                              qreal ratio) const {
    const int width = DeviceLength(logicalWidth, ratio);
    const int height = DeviceLength(logicalHeight, ratio);
    const int bw = 4 * width;
    const int bh = 4 * height;
    QImage big(bw, bh, QImage::Format_RGB888);
    big.fill(BoardColour);
    {
        QPainter p(&big);
        // Drawn hard at four times the size; the averaging below makes the smooth edge.
        p.setRenderHint(QPainter::Antialiasing, false);
        const int pen = (bw + bh) / 48;
        const int inset = (pen + 1) / 2 + 2;
        p.setPen(QPen(Qt::black, pen));
        p.setBrush(DiscColour(value));
        p.drawEllipse(QRect(QPoint(inset, inset), QPoint(bw - inset - 1, bh - inset - 1)));
    }
    QImage small(width, height, QImage::Format_RGB888);
    small.fill(BoardColour);
    ShrinkBitmap(big, small);

    // Whatever still shows the board colour exactly (the corners outside the disc) becomes
    // transparent.
    QImage disc = small.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb key = disc.pixel(0, height - 1);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(disc.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (line[x] == key) {
                line[x] = 0;
            }
        }
    }
    disc.setDevicePixelRatio(ratio);
    return disc;
}

QImage BoardPainter::DiscBitmap(const Chip& chip, const QRect& rect, qreal ratio) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        return QImage();
    }
    // A device that reports no sensible ratio is drawn at one device pixel per pixel.
    if (!(ratio > 0.0) || !std::isfinite(ratio)) {
        ratio = 1.0;
    }
    if (rect.width() != DiscCacheWidth || rect.height() != DiscCacheHeight ||
        !qFuzzyCompare(ratio, DiscCacheRatio)) {
        DiscCache.fill(QImage());
        DiscCacheWidth = rect.width();
        DiscCacheHeight = rect.height();
        DiscCacheRatio = ratio;
    }
    const int32_t v = chip.Value();
    if (v < 0 || v >= DiscCacheSize) {
        // No tile carries such a value; should one appear it is drawn, just not cached.
        return MakeDisc(v, rect.width(), rect.height(), ratio);
    }
    QImage& cached = DiscCache[static_cast<size_t>(v)];
    if (cached.isNull()) {
        cached = MakeDisc(v, rect.width(), rect.height(), ratio);
    }
    return cached;
}

void BoardPainter::PaintBoardStrip(int32_t count, int32_t stripWidth, QPoint origin,
                                   QPainter& canvas, int32_t height) {
    if (count <= 0 || stripWidth <= 0 || height <= 0) {
        return;
    }
    for (int32_t k = 0; k < count; ++k) {
        canvas.fillRect(origin.x() + k * stripWidth, origin.y(), stripWidth, height, BoardColour);
    }
}

void BoardPainter::PaintTiles(const std::vector<Chip*>& chips, const std::vector<Chip*>& chain,
                              QPoint origin, QPainter& canvas, const Board& board) {
    std::vector<const Chip*> links;
    for (const Chip* c : chain) {
        if (c != nullptr) {
            links.push_back(c);
        }
    }

    // The work images are made at the canvas's own resolution; everything drawn into them is
    // placed in logical pixels and the painter scales it to the device.
    const QPaintDevice* device = canvas.device();
    qreal ratio = device != nullptr ? device->devicePixelRatio() : 1.0;
    if (!(ratio > 0.0) || !std::isfinite(ratio)) {
        ratio = 1.0;
    }
    QImage work;
    QSize workSize; // logical
    QPainter p;
    std::unique_ptr<TileFonts> fonts;
    for (const Chip* c : chips) {
        if (c == nullptr) {
            continue;
        }
        const QRect cell = ToQRect(c->Bounds());
        const QRect r = cell.translated(origin);
        const int w = r.width();
        const int h = r.height();
        if (w <= 0 || h <= 0) {
            continue;
        }
        if (workSize != QSize(w, h)) {
            if (p.isActive()) {
                p.end();
            }
            work = QImage(DeviceLength(w, ratio), DeviceLength(h, ratio), QImage::Format_RGB32);
            work.setDevicePixelRatio(ratio);
            workSize = QSize(w, h);
            p.begin(&work);
            fonts = std::make_unique<TileFonts>(TileFont(), w, h);
        }
        p.fillRect(0, 0, w, h, BoardColour);
        // Everything below is placed relative to this chip's rectangle.
        const QPoint shift = -cell.topLeft();

        // Discs are stacked the same way in every work image, lower rows under upper ones,
        // so that where neighbouring discs touch, a chip repainted alone shows exactly what a
        // whole repaint shows.
        const Chip* const stack[] = {
            board.CellAt(c->Row() - 1, c->Slot() - 1), board.CellAt(c->Row() - 1, c->Slot() + 1), c,
            board.CellAt(c->Row() + 1, c->Slot() - 1), board.CellAt(c->Row() + 1, c->Slot() + 1)};
        bool lineHere = false;
        bool hintHere = false;
        for (const Chip* n : stack) {
            if (n == nullptr || !n->IsOccupied()) {
                continue;
            }
            const QRect nr = ToQRect(n->Bounds());
            p.drawImage(QRectF(nr.translated(shift)), DiscBitmap(*n, nr, ratio));
            lineHere = lineHere || n->IsSelected();
            hintHere = hintHere || std::find(Hint.begin(), Hint.end(), n) != Hint.end();
        }

        if (lineHere && !links.empty()) {
            const QRect first = ToQRect(links.front()->Bounds());
            const int l = (first.width() + first.height() + 2) / 4;
            DrawChain(p, links, ChainColour, l, 1, shift);
        }
        if (hintHere) {
            // A little narrower than the player's line, so a chain under it still shows.
            const QRect first = ToQRect(Hint.front()->Bounds());
            const int l = std::max(1, (first.width() + first.height() + 2) / 6);
            DrawChain(p, Hint, HintColour, l, l, shift);
        }

        p.setPen(Qt::black);
        if (c->IsOccupied()) {
            const QString text = TileText(c->Letter());
            const TextPlaces places = ::PlaceTexts(*fonts, w, h, text, c->Value());
            p.setFont(fonts->letter);
            p.drawText(places.letter, text);
            DrawValue(p, *fonts, QRect(0, 0, w, h), c->Value());
        }
        // The values of the row above sit where the rows overlap, inside this rectangle; the
        // discs drawn above have just covered them.
        for (const int ds : {-1, 1}) {
            const Chip* u = board.CellAt(c->Row() + 1, c->Slot() + ds);
            if (u != nullptr && u->IsOccupied()) {
                DrawValue(p, *fonts, ToQRect(u->Bounds()).translated(shift), u->Value());
            }
        }
        // Into exactly the chip's rectangle: at whole ratios pixel for pixel, at fractional ones
        // the device pixels the rectangle covers, and never beyond it.
        canvas.drawImage(QRectF(r), work);
    }
}
