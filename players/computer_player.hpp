// The computer's side: a depth-limited negamax search with alpha-beta pruning.
#pragma once

#include <array>
#include <cstdint>

#include "game/board.hpp"
#include "players/player.hpp"

constexpr int32_t WIN_SCORE = 0x40000000;
constexpr int32_t LOSS_SCORE = -WIN_SCORE;
// The root starts one below a loss, so that its first open pole is taken even when lost.
constexpr int32_t ROOT_START_SCORE = LOSS_SCORE - 1;
constexpr int32_t NO_CHOICE = -1;

class ComputerPlayer final : public Player {
public:
    int32_t searchDepth = 5;  // replaced by the schedule before every choice
    Board scratchCells;       // the board the search plays on

    // Counts search nodes (calls of search, recursive ones included); only the
    // benchmark and the tests read it.
    uint64_t searchCalls = 0;
    // The value of each pole (row * 4 + col) in the last choice; ROOT_START_SCORE for a full one.
    std::array<int32_t, POLE_COUNT> rootScores{};

    // Rewrites the whole cellWeights table.
    explicit ComputerPlayer(int32_t side);

    // Drops on the chosen pole and makes it the selection; does nothing out of turn, or if
    // there were no open pole.
    void move() override;

    // The pole to play as row * 10 + col: the first in row-major order among the best;
    // NO_CHOICE when every pole is full.
    int32_t chooseMove();

    void copyBoardToScratch();

    // The negamax value of scratchCells for side, at the given ply below the root. Fails hard
    // above (a cut-off returns beta) and soft below. Leaves scratchCells as it found it.
    int32_t search(int32_t side, int32_t depth, int32_t alpha, int32_t beta);

    // The weight of side's pieces minus the weight of the other side's, on scratchCells.
    int32_t evaluate(int32_t side) const;

    // The number of plies searched for a choice made after moveCount pieces.
    static int32_t depthForMoveCount(int32_t moveCount);

private:
    // A mirror of scratchCells that makes each search node cheap.
    std::array<uint64_t, 2> pieces_{};  // one bit per cell, indexed by side
    // Per side, the cells where one more piece of that side would complete a line; some may
    // be taken by the other side, and only empty ones are ever asked about.
    std::array<uint64_t, 2> threats_{};
    std::array<int32_t, POLE_COUNT> heights_{};
    int32_t firstSideBalance_ = 0;  // evaluate(FIRST_SIDE)

    void syncMirror();
    // Drops a piece of side on pole, mirror included; returns side's threats before the drop,
    // which takeBack restores.
    uint64_t place(int pole, int32_t side);
    void takeBack(int pole, int32_t side, uint64_t threatsBefore);
    // Whether a piece of side dropped on the open pole would complete a line.
    bool dropWins(int pole, int32_t side) const;
    // The value of the piece that side drops on pole, from side's point of view, with the
    // drop's own search node counted.
    int32_t scoreDrop(int pole, int32_t side, int32_t depth, int32_t alpha, int32_t beta);
    // search without the line test: the board is known to hold no owned line.
    int32_t searchUndecided(int32_t side, int32_t depth, int32_t alpha, int32_t beta);
    // searchUndecided one ply above the depth limit, without playing out the leaves.
    int32_t searchFrontier(int32_t side, int32_t alpha, int32_t beta);
    int32_t balanceFor(int32_t side) const {
        return side == FIRST_SIDE ? firstSideBalance_ : -firstSideBalance_;
    }
};
