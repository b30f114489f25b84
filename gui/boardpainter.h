// Draws boards of chips: the background strips and the tiles with their letters, values and
// the red chain line. The main window and the How To Play example both draw through the one
// painter the main window owns, so they share its cache of disc images.
//
// Positions and sizes are logical pixels throughout. Every image the painter makes (the discs,
// the work image of a chip) has as many pixels as the canvas's device gives the area, and
// carries that device pixel ratio, so that on a high-resolution screen the picture is drawn
// at the screen's own resolution instead of being scaled up from a small one.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Board;
class Chip;
class QPainter;

class BoardPainter {
public:
    static constexpr int32_t DiscCacheSize = 32;

    QColor BoardColour{0x56, 0x9C, 0x56};
    QColor ChainColour{0xFF, 0x40, 0x40};
    // A second chain drawn over the tiles, in a colour no tile or the player's chain has (the
    // best word left on the board when a round ends); empty when there is none.
    std::vector<const Chip*> Hint;
    QColor HintColour{0x20, 0x50, 0xF0};
    // The family of the letters and values. Empty until tiles are first drawn, when it becomes
    // "Verdana" if the system has that family and "Arial" otherwise: asking the system reads
    // its whole font list, which the window's first appearance should not wait for.
    QString TileFontName;

    // The tile size (logical pixels) and device pixel ratio the cached discs were made for,
    // and a disc per chip value 0..31 (a null image: not made yet). One size at a time: a paint
    // at another size or on a screen of another ratio empties the cache.
    int32_t DiscCacheWidth = 0;
    int32_t DiscCacheHeight = 0;
    qreal DiscCacheRatio = 1.0;
    std::array<QImage, DiscCacheSize> DiscCache;

    // Draws `chips` of `board` on canvas, each through a work image that holds its whole
    // rectangle: its own disc, the parts of its four diagonal neighbours' discs, the chain line
    // where it crosses the rectangle, its letter and value, and the values of the row above
    // that reach into it. So any chip can be redrawn alone and the picture stays whole.
    // `origin` is the canvas position of the board's bottom-left corner; `chain` the chips of
    // the chain in word order (null entries are skipped).
    void PaintTiles(const std::vector<Chip*>& chips, const std::vector<Chip*>& chain, QPoint origin,
                    QPainter& canvas, const Board& board);

    // Fills `count` strips of stripWidth x height side by side with the board colour, the first
    // with its top-left corner at origin.
    void PaintBoardStrip(int32_t count, int32_t stripWidth, QPoint origin, QPainter& canvas,
                         int32_t height);

    // The disc for the chip's value at rect's size on a device of the given pixel ratio: drawn
    // at four times the device size without antialiasing, averaged down, and transparent
    // wherever the board colour shows, so that overlapping discs do not cover each other with
    // their corners. The image carries the ratio: drawn at rect it fills rect exactly.
    QImage DiscBitmap(const Chip& chip, const QRect& rect, qreal ratio = 1.0);

    // The disc's fill colour: white for value 1, a deeper yellow for each higher value, pure
    // yellow from 9 on.
    static QColor DiscColour(int32_t value);

    // A tile's letter as shown: only the first letter stays a capital, so "QU" reads "Qu".
    static QString TileText(const std::string& letter);

    // The device pixels that `length` logical pixels cover at `ratio` (at least one): exact
    // for whole ratios, rounded up for fractional ones so that nothing is left uncovered.
    static int DeviceLength(int length, qreal ratio);

    // TileFontName, chosen now if it has not been yet.
    const QString& TileFont();

    // The fonts of a w x h tile's letter and value, in the given family.
    static QFont LetterFont(const QString& family, int w, int h);
    static QFont ValueFont(const QString& family, int w, int h);
    // Where a w x h tile's texts are drawn: the left end of the letter's and the value's
    // baselines. The value sits at the bottom, centred; the letter is centred in the tile but
    // lifted where its ink (the tail of the Q of "Qu", say) would come closer than a pixel to
    // the value's, so the two never touch at any tile size.
    struct TextPlaces {
        QPoint letter;
        QPoint value;
    };
    static TextPlaces PlaceTexts(const QString& family, int w, int h, const QString& letter,
                                 int32_t value);

private:
    QImage MakeDisc(int32_t value, int32_t width, int32_t height, qreal ratio) const;
};
