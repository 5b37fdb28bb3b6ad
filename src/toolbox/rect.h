// Rectangles and points as the toolbox layer knows them: signed 16-bit values,
// bottom and right exclusive, points vertical first.
#pragma once

#include <cstdint>

struct Rect {
    int16_t top = 0;
    int16_t left = 0;
    int16_t bottom = 0;
    int16_t right = 0;

    int Largeur() const { return right - left; }
    int Hauteur() const { return bottom - top; }
    bool EstVide() const { return bottom <= top || right <= left; }
    bool operator==(const Rect&) const = default;
};
static_assert(sizeof(Rect) == 8);

struct Point {
    int16_t v = 0;
    int16_t h = 0;
    bool operator==(const Point&) const = default;
};
static_assert(sizeof(Point) == 4);

// True when the two rectangles share at least one pixel.
inline bool RectsSeCoupent(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline bool PointDansRect(int v, int h, const Rect& r) {
    return v >= r.top && v < r.bottom && h >= r.left && h < r.right;
}
