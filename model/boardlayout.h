// Where a board goes in a window: the largest tile size that fits the free room, and the
// mapping between board and client coordinates. Pure arithmetic, so the numbers can be
// checked without a window.
#pragma once

#include "geometry.h"

#include <cstdint>

struct BoardLayout {
    bool fits = false;   // false: nothing of the board is drawn
    int32_t tile = 0;    // tile width and height, always even
    int32_t pitch = 0;   // vertical distance between rows
    int32_t width = 0;   // (slots + 1) half-tiles
    int32_t height = 0;  // one tile plus a pitch per further row
    int32_t originX = 0; // board's left edge in client pixels
    int32_t originY = 0; // distance from the board's bottom edge to the client's bottom
};

// Rows of hexagonally packed discs sit 0.866 (the height of an equilateral triangle of side 1)
// tile sizes apart, truncated. Integer arithmetic keeps that exact at every size.
int32_t RowPitch(int32_t tile);

// The main window's board in a free area freeWidth x freeHeight, whose bottom is the client
// area's bottom. 24 pixels of each are held back as margin; below 100 pixels of either the
// board is not drawn. The tile starts as wide as the width allows and shrinks two pixels at a
// time until the board's height fits, and the board is centred in the free area.
BoardLayout LayoutBoard(int32_t freeWidth, int32_t freeHeight, uint32_t rows, uint32_t slots);

// The How To Play example in a paint area, drawn from the area's top-left corner without
// margins: the tile is as wide as the area allows and shrinks until the board is less high
// than the area. A tile below 2 pixels draws nothing.
BoardLayout LayoutExample(int32_t areaWidth, int32_t areaHeight, uint32_t rows, uint32_t slots);

// Board coordinates (origin at the board's bottom-left, y downward so the board lies at
// negative y) to client coordinates and back.
Point BoardToClient(Point board, int32_t originX, int32_t originY, int32_t clientHeight);
Point ClientToBoard(Point client, int32_t originX, int32_t originY, int32_t clientHeight);
