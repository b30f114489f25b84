#pragma once

#include <cstdint>

// Board coordinates are pixels with x to the right and y downward, the origin at the board's
// bottom-left corner, so every cell lies at negative y. The window adds its own offset when it
// draws.

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};
