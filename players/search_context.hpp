// The search's own picture of a board: bit masks that make each node a few operations.
#pragma once

#include <array>
#include <cstdint>

#include "game/board.hpp"

constexpr int32_t WIN_SCORE = 0x40000000;
constexpr int32_t LOSS_SCORE = -WIN_SCORE;

// A board as the search sees it, with everything needed to search below it. Each thread that
// searches owns one and plays on nothing else; copies are independent.
class SearchContext {
public:
    uint64_t nodes = 0;  // search calls made through this context

    // Takes the pieces of board, which must follow gravity, and the ply at which leaves are
    // scored.
    SearchContext(const Board& board, int32_t depthLimit);

    bool isOpen(int pole) const { return (tops_ & poleCells(pole)) != 0; }

    // The search call for the board after side drops on the open pole, from side's point of
    // view; depth is that call's ply. The board must own no line. Counts the call itself.
    int32_t scoreDrop(int pole, int32_t side, int32_t depth, int32_t alpha, int32_t beta);

    // The value of the board for side at the given ply, from side's point of view; the board
    // must own no line. Leaves the context as it found it.
    int32_t searchUndecided(int32_t side, int32_t depth, int32_t alpha, int32_t beta);

private:
    static constexpr uint64_t poleCells(int pole) { return uint64_t{0xF} << (pole * BOARD_SIZE); }

    int32_t depthLimit_;
    std::array<uint64_t, 2> pieces_{};  // one bit per cell, indexed by side
    // Per side, the cells where one more piece of that side would complete a line; some may
    // be taken by the other side, and only open tops are ever asked about.
    std::array<uint64_t, 2> threats_{};
    uint64_t tops_ = 0;             // the lowest empty cell of every open pole
    int32_t firstSideBalance_ = 0;  // the evaluation for the first mover

    int32_t balanceFor(int32_t side) const {
        return side == FIRST_SIDE ? firstSideBalance_ : -firstSideBalance_;
    }
    int32_t scoreDropAt(uint64_t drop, int32_t side, int32_t depth, int32_t alpha, int32_t beta);
    // Two plies above the limit: each child is searched by searchFrontier without being
    // played.
    int32_t searchPreFrontier(int32_t side, int32_t alpha, int32_t beta);
    // One ply above the limit, on a board given as its open tops and side's balance: scores
    // all drops at once and counts the leaves that the loop over them would have visited.
    int32_t searchFrontier(int32_t side, uint64_t tops, int32_t balance, int32_t alpha,
                           int32_t beta);
};
