// The computer's side: a depth-limited negamax search with alpha-beta pruning.
#pragma once

#include <array>
#include <cstdint>

#include "game/board.hpp"
#include "players/player.hpp"
#include "players/search_context.hpp"
#include "players/search_pool.hpp"

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
    // Threads that search the root poles of a choice, this one included. Each searches on its
    // own copy of the board, so the choice, the scores and the node count never depend on it.
    int searchThreads = defaultSearchThreads();

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
    // Fills rootScores for a board that owns no line, the root poles shared out among the
    // threads.
    void scoreRootsUndecided();
};
