#include "players/oracle_search.hpp"

#include "players/cell_weights.hpp"
#include "players/computer_player.hpp"

namespace {

// Drops side on the pole's first empty level; false when the pole is full.
bool dropOn(Board& board, int row, int col, int32_t side) {
    for (int level = 0; level <= 3; ++level) {
        if (board[row * 16 + col * 4 + level] == EMPTY_CELL) {
            board[row * 16 + col * 4 + level] = side;
            return true;
        }
    }
    return false;
}

// Clears the pole's topmost piece.
void takeBackFrom(Board& board, int row, int col) {
    for (int level = 3; level >= 0; --level) {
        if (board[row * 16 + col * 4 + level] != EMPTY_CELL) {
            board[row * 16 + col * 4 + level] = EMPTY_CELL;
            return;
        }
    }
}

}  // namespace

int32_t OracleSearch::chooseMove(const GameState& game) {
    const int32_t count = game.moveCount;
    if (count < 10) {
        searchDepth = 5;
    } else if (count < 20) {
        searchDepth = 6;
    } else if (count < 30) {
        searchDepth = 7;
    } else if (count < 40) {
        searchDepth = 8;
    } else if (count < 50) {
        searchDepth = 9;
    } else {
        searchDepth = 64 - count;
    }
    for (int i = 0; i < 64; ++i) scratchCells[i] = game.cells[i];
    int32_t best = -1073741825;
    int32_t choice = -1;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            rootScores[row * 4 + col] = ROOT_START_SCORE;
            if (!dropOn(scratchCells, row, col, side)) continue;
            const int32_t v = -search(1 - side, 1, LOSS_SCORE, WIN_SCORE);
            rootScores[row * 4 + col] = v;
            if (v > best) {
                best = v;
                choice = row * 10 + col;
            }
            takeBackFrom(scratchCells, row, col);
        }
    }
    return choice;
}

int32_t OracleSearch::search(int32_t sideToMove, int32_t depth, int32_t alpha, int32_t beta) {
    ++searchCalls;
    const int32_t winner = GameState::findWinner(scratchCells);
    if (winner == sideToMove) return WIN_SCORE;
    if (winner == 1 - sideToMove) return LOSS_SCORE;
    if (depth == searchDepth) return evaluate(sideToMove);
    int32_t best = LOSS_SCORE;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            if (!dropOn(scratchCells, row, col, sideToMove)) continue;
            const int32_t e = -search(1 - sideToMove, depth + 1, -beta, -alpha);
            if (e > best) best = e;
            takeBackFrom(scratchCells, row, col);
            if (e > alpha) {
                alpha = e;
                if (e >= beta) return beta;
            }
        }
    }
    return best;
}

int32_t OracleSearch::evaluate(int32_t forSide) const {
    int32_t sum = 0;
    for (int pole = 0; pole < 16; ++pole) {
        for (int level = 0; level < 4; ++level) {
            const int32_t cell = scratchCells[pole * 4 + level];
            if (cell == forSide) {
                sum += CELL_WEIGHT_TABLE[pole * 4 + level];
            } else if (cell == 1 - forSide) {
                sum -= CELL_WEIGHT_TABLE[pole * 4 + level];
            } else {
                break;
            }
        }
    }
    return sum;
}
