// The 76 straight lines of the cube, in the order in which findWinner scans them.
#pragma once

#include <array>
#include <cstdint>

#include "game/board.hpp"

constexpr int LINE_COUNT = 76;

using Line = std::array<uint8_t, 4>;  // four cell indices

namespace lines_detail {

struct LineTable {
    std::array<Line, LINE_COUNT> lines{};
    int count = 0;

    // Adds the line through (r0 + t * dr, c0 + t * dc, l0 + t * dl), t = 0..3.
    constexpr void add(int r0, int dr, int c0, int dc, int l0, int dl) {
        for (int t = 0; t < 4; ++t)
            lines[count][t] =
                static_cast<uint8_t>(cellIndex(r0 + t * dr, c0 + t * dc, l0 + t * dl));
        ++count;
    }
};

constexpr LineTable makeScanOrder() {
    LineTable table;
    for (int level = 0; level < 4; ++level) {
        for (int row = 0; row < 4; ++row) table.add(row, 0, 0, 1, level, 0);
        for (int col = 0; col < 4; ++col) table.add(0, 1, col, 0, level, 0);
        table.add(0, 1, 0, 1, level, 0);   // (t, t) in (row, col)
        table.add(0, 1, 3, -1, level, 0);  // (t, 3 - t)
    }
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) table.add(row, 0, col, 0, 0, 1);
        table.add(0, 1, col, 0, 0, 1);   // (t, t) in (row, level)
        table.add(0, 1, col, 0, 3, -1);  // (t, 3 - t)
    }
    for (int row = 0; row < 4; ++row) {
        table.add(row, 0, 0, 1, 0, 1);   // (t, t) in (col, level)
        table.add(row, 0, 0, 1, 3, -1);  // (t, 3 - t)
    }
    table.add(0, 1, 0, 1, 0, 1);
    table.add(0, 1, 0, 1, 3, -1);
    table.add(0, 1, 3, -1, 0, 1);
    table.add(0, 1, 3, -1, 3, -1);
    return table;
}

}  // namespace lines_detail

// Rows and columns per level, then poles and column-plane diagonals per column,
// then row-plane diagonals per row, then the four space diagonals.
constexpr std::array<Line, LINE_COUNT> SCAN_ORDER = lines_detail::makeScanOrder().lines;

static_assert(lines_detail::makeScanOrder().count == LINE_COUNT, "the cube has 76 lines");

constexpr uint64_t lineMask(const Line& line) {
    uint64_t mask = 0;
    for (uint8_t cell : line) mask |= uint64_t{1} << cell;
    return mask;
}

constexpr std::array<uint64_t, LINE_COUNT> makeLineMasks() {
    std::array<uint64_t, LINE_COUNT> masks{};
    for (int i = 0; i < LINE_COUNT; ++i) masks[i] = lineMask(SCAN_ORDER[i]);
    return masks;
}

// The lines as sets of cell bits, in scan order.
constexpr std::array<uint64_t, LINE_COUNT> LINE_MASKS = makeLineMasks();

// At most seven lines pass through one cell (row, column, pole and four kinds of diagonal).
constexpr int MAX_LINES_PER_CELL = 7;

// For each cell, the masks of the lines through it: a drop can only complete one of these.
// Cells on fewer than seven lines repeat their first line's mask, so that every cell can be
// tested with the same seven checks.
using CellLines = std::array<uint64_t, MAX_LINES_PER_CELL>;

constexpr std::array<CellLines, CELL_COUNT> makeLinesThroughCells() {
    std::array<CellLines, CELL_COUNT> table{};
    std::array<int, CELL_COUNT> count{};
    for (const Line& line : SCAN_ORDER)
        for (uint8_t cell : line) table[cell][count[cell]++] = lineMask(line);
    for (int cell = 0; cell < CELL_COUNT; ++cell)
        for (int i = count[cell]; i < MAX_LINES_PER_CELL; ++i) table[cell][i] = table[cell][0];
    return table;
}

constexpr std::array<CellLines, CELL_COUNT> LINES_THROUGH_CELL = makeLinesThroughCells();

constexpr int distinctLines(const CellLines& lines) {
    int count = 0;
    for (int i = 0; i < MAX_LINES_PER_CELL; ++i) count += i == 0 || lines[i] != lines[0];
    return count;
}

static_assert(distinctLines(LINES_THROUGH_CELL[0]) == 7, "a corner lies on seven lines");
static_assert(distinctLines(LINES_THROUGH_CELL[cellIndex(0, 1, 0)]) == 4,
              "an edge cell lies on four lines");
