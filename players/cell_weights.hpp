// Positional weights of the cells, read by the computer's evaluation.
#pragma once

#include <array>
#include <cstdint>

#include "game/board.hpp"

using CellWeights = std::array<int32_t, CELL_COUNT>;

// Pole by pole in index order, levels 0 (bottom) to 3 (top).
// clang-format off
constexpr CellWeights CELL_WEIGHT_TABLE = {
    4, 1, 1, 3,  1, 2, 2, 1,  1, 2, 2, 1,  4, 1, 1, 1,  // row 0
    1, 2, 2, 1,  1, 3, 1, 1,  1, 3, 1, 1,  1, 2, 2, 1,  // row 1
    1, 2, 2, 1,  1, 3, 1, 1,  1, 3, 1, 1,  1, 2, 2, 1,  // row 2
    4, 1, 1, 3,  1, 2, 2, 1,  1, 2, 2, 1,  4, 1, 1, 3,  // row 3
};
// clang-format on

constexpr int32_t totalWeight(const CellWeights& weights) {
    int32_t sum = 0;
    for (int32_t w : weights) sum += w;
    return sum;
}

// Evaluations stay within +-106, far inside the win and loss scores.
static_assert(totalWeight(CELL_WEIGHT_TABLE) == 106, "weights must sum to 106");

// CELL_WEIGHT_TABLE, copied in full by every ComputerPlayer construction, for the evaluation;
// the search reads CELL_WEIGHT_TABLE itself, so that its masks are built at compile time.
extern CellWeights cellWeights;
