#pragma once
// A 2D vector (sketch and drawing coordinates).

template <class T> struct vectorC2d {
    T x{};
    T y{};

    friend constexpr bool operator==(const vectorC2d&, const vectorC2d&) = default;
    constexpr vectorC2d operator+(const vectorC2d& o) const { return {x + o.x, y + o.y}; }
    constexpr vectorC2d operator-(const vectorC2d& o) const { return {x - o.x, y - o.y}; }
};
