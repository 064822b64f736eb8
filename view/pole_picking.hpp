// Which pole a tap on the window shows, for playing by touch.
#pragma once

#include <optional>

#include "game/board.hpp"

struct Pole {
    int row;
    int col;
    bool operator==(const Pole& other) const { return row == other.row && col == other.col; }
};

// The pole under window position (x, y), with y growing downwards, in a window of width x
// height drawn with the view angles: the front-most pole or piece there, the slab hiding
// what lies behind it. Where none is hit, the pole that passes within tolerance of the point,
// the nearest first. All lengths are in the same unit, any size of pixel.
std::optional<Pole> poleAt(const Board& cells, double angleX, double angleY, double x, double y,
                           double width, double height, double tolerance);
