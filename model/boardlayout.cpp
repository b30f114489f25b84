#include "boardlayout.h"

namespace {

constexpr int64_t kMargin = 24;
constexpr int64_t kLeastRoom = 100;

int64_t BoardHeight(int64_t tile, uint32_t rows) {
    return tile + static_cast<int64_t>(RowPitch(static_cast<int32_t>(tile))) * (rows - 1);
}

BoardLayout Finish(int64_t tile, uint32_t rows, uint32_t slots) {
    BoardLayout layout;
    layout.fits = true;
    layout.tile = static_cast<int32_t>(tile);
    layout.pitch = RowPitch(layout.tile);
    layout.width = static_cast<int32_t>((static_cast<int64_t>(slots) + 1) * tile / 2);
    layout.height = static_cast<int32_t>(BoardHeight(tile, rows));
    return layout;
}

} // namespace

int32_t RowPitch(int32_t tile) {
    return static_cast<int32_t>(static_cast<int64_t>(tile) * 866 / 1000);
}

BoardLayout LayoutBoard(int32_t freeWidth, int32_t freeHeight, uint32_t rows, uint32_t slots) {
    if (freeWidth < kLeastRoom || freeHeight < kLeastRoom || rows == 0 || slots == 0) {
        return {};
    }
    int64_t n = (freeWidth - kMargin) / (static_cast<int64_t>(slots) + 1) * 2;
    if (n < 2) {
        n = 2;
    }
    while (BoardHeight(n, rows) >= freeHeight - kMargin) {
        if (n <= 2) {
            return {};
        }
        n -= 2;
    }
    BoardLayout layout = Finish(n, rows, slots);
    layout.originX = (freeWidth - layout.width) / 2;
    layout.originY = (freeHeight - layout.height) / 2;
    return layout;
}

BoardLayout LayoutExample(int32_t areaWidth, int32_t areaHeight, uint32_t rows, uint32_t slots) {
    if (areaWidth <= 0 || areaHeight <= 0 || rows == 0) {
        return {};
    }
    int64_t n = areaWidth / (static_cast<int64_t>(slots) + 1) * 2;
    if (n < 2) {
        return {}; // an area narrower than the board's half-tiles: no sensible tile at all
    }
    while (areaHeight <= BoardHeight(n, rows)) {
        if (n <= 2) {
            return {};
        }
        n -= 2;
    }
    return Finish(n, rows, slots);
}

Point BoardToClient(Point board, int32_t originX, int32_t originY, int32_t clientHeight) {
    return Point{board.x + originX, clientHeight - originY + board.y};
}

Point ClientToBoard(Point client, int32_t originX, int32_t originY, int32_t clientHeight) {
    return Point{client.x - originX, client.y + originY - clientHeight};
}
