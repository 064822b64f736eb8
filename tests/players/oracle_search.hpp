// The computer's search written plainly, step by step, with a full line scan at every node:
// the reference that the fast search must match value for value and node for node.
#pragma once

#include <array>
#include <cstdint>

#include "game/game_state.hpp"

class OracleSearch {
public:
    int32_t side;
    int32_t searchDepth = 5;
    Board scratchCells;
    uint64_t searchCalls = 0;
    std::array<int32_t, POLE_COUNT> rootScores{};

    explicit OracleSearch(int32_t side) : side(side) { scratchCells.fill(EMPTY_CELL); }

    // The pole as row * 10 + col, for a choice on game's board.
    int32_t chooseMove(const GameState& game);
    int32_t search(int32_t sideToMove, int32_t depth, int32_t alpha, int32_t beta);
    int32_t evaluate(int32_t forSide) const;
};
