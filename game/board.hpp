// The board: 64 cells at index row * 16 + col * 4 + level, level 0 at the bottom.
#pragma once

#include <array>
#include <cstdint>

constexpr int BOARD_SIZE = 4;  // rows, columns and levels alike
constexpr int POLE_COUNT = BOARD_SIZE * BOARD_SIZE;
constexpr int CELL_COUNT = POLE_COUNT * BOARD_SIZE;

constexpr int32_t EMPTY_CELL = -10;
constexpr int32_t FIRST_SIDE = 1;
constexpr int32_t SECOND_SIDE = 0;
constexpr int32_t NO_WINNER = -10;

// Line detection adds four cell values: an empty cell must pull any sum far below 0.
static_assert(EMPTY_CELL + 3 * FIRST_SIDE < SECOND_SIDE, "an empty cell must spoil a line sum");

using Board = std::array<int32_t, CELL_COUNT>;

constexpr int cellIndex(int row, int col, int level) { return row * 16 + col * 4 + level; }

// The index of a pole's bottom cell; the pole's four levels follow it.
constexpr int poleBase(int row, int col) { return cellIndex(row, col, 0); }

static_assert(cellIndex(3, 3, 3) == CELL_COUNT - 1, "cell indices must cover the board exactly");
