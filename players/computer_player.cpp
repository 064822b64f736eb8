#include "players/computer_player.hpp"

#include "game/game_state.hpp"
#include "game/lines.hpp"
#include "players/cell_weights.hpp"

CellWeights cellWeights{};

namespace {

// The lowest empty level of the pole, BOARD_SIZE when it is full.
int firstEmptyLevel(const Board& board, int pole) {
    int level = 0;
    while (level < BOARD_SIZE && board[pole * BOARD_SIZE + level] != EMPTY_CELL) ++level;
    return level;
}

constexpr uint64_t bit(int cell) { return uint64_t{1} << cell; }

// The cells that would complete a line of sidePieces among the given lines: the missing
// cell of every line that holds three of them. The cell may be taken by the other side.
template <typename Lines>
uint64_t missingCells(uint64_t sidePieces, const Lines& lines) {
    uint64_t missing = 0;
    for (uint64_t line : lines) {
        const uint64_t rest = line & ~sidePieces;
        const bool oneLeft = rest != 0 && (rest & (rest - 1)) == 0;
        missing |= oneLeft ? rest : 0;
    }
    return missing;
}

int32_t signedWeight(int cell, int32_t side) {
    return side == FIRST_SIDE ? cellWeights[cell] : -cellWeights[cell];
}

}  // namespace

ComputerPlayer::ComputerPlayer(int32_t side) : Player(side, 1) {
    scratchCells.fill(EMPTY_CELL);
    cellWeights = CELL_WEIGHT_TABLE;
}

void ComputerPlayer::move() {
    GameState& game = *gameState;
    if (game.sideToMove != side) return;
    const int32_t choice = chooseMove();
    // Never happens while the game runs; a full board must not send the drop off the board.
    if (choice == NO_CHOICE) return;
    const int row = choice / 10;
    const int col = choice % 10;
    if (game.playMove(row, col)) {
        game.selectedRow = row;
        game.selectedCol = col;
    }
}

int32_t ComputerPlayer::depthForMoveCount(int32_t moveCount) {
    if (moveCount < 10) return 5;
    if (moveCount < 20) return 6;
    if (moveCount < 30) return 7;
    if (moveCount < 40) return 8;
    if (moveCount < 50) return 9;
    return CELL_COUNT - moveCount;  // to the end of the game: one ply per empty cell
}

void ComputerPlayer::copyBoardToScratch() { scratchCells = gameState->cells; }

int32_t ComputerPlayer::chooseMove() {
    searchDepth = depthForMoveCount(gameState->moveCount);
    copyBoardToScratch();
    syncMirror();
    // In play the board never holds a line here; a hand-built one that does is searched
    // through the full line test at every child.
    const bool undecided = GameState::findWinner(scratchCells) == NO_WINNER;

    int32_t best = ROOT_START_SCORE;
    int32_t choice = NO_CHOICE;
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        rootScores[pole] = ROOT_START_SCORE;
        const int level = firstEmptyLevel(scratchCells, pole);
        if (level == BOARD_SIZE) continue;
        int32_t value;
        if (undecided) {
            value = scoreDrop(pole, side, 1, LOSS_SCORE, WIN_SCORE);
        } else {
            scratchCells[pole * BOARD_SIZE + level] = side;
            value = -search(1 - side, 1, LOSS_SCORE, WIN_SCORE);
            scratchCells[pole * BOARD_SIZE + level] = EMPTY_CELL;
        }
        rootScores[pole] = value;
        if (value > best) {
            best = value;
            choice = (pole / BOARD_SIZE) * 10 + pole % BOARD_SIZE;
        }
    }
    return choice;
}

int32_t ComputerPlayer::search(int32_t side, int32_t depth, int32_t alpha, int32_t beta) {
    ++searchCalls;
    syncMirror();
    const int32_t winner = GameState::findWinner(scratchCells);
    if (winner == side) return WIN_SCORE;
    if (winner == 1 - side) return LOSS_SCORE;
    return searchUndecided(side, depth, alpha, beta);
}

int32_t ComputerPlayer::evaluate(int32_t side) const {
    int32_t sum = 0;
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        for (int level = 0; level < BOARD_SIZE; ++level) {
            const int cell = pole * BOARD_SIZE + level;
            if (scratchCells[cell] == side) {
                sum += cellWeights[cell];
            } else if (scratchCells[cell] == 1 - side) {
                sum -= cellWeights[cell];
            } else {
                break;
            }
        }
    }
    return sum;
}

void ComputerPlayer::syncMirror() {
    pieces_ = {0, 0};
    firstSideBalance_ = 0;
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        const int32_t value = scratchCells[cell];
        if (value != FIRST_SIDE && value != SECOND_SIDE) continue;
        pieces_[value] |= bit(cell);
        firstSideBalance_ += signedWeight(cell, value);
    }
    for (int32_t s : {FIRST_SIDE, SECOND_SIDE}) threats_[s] = missingCells(pieces_[s], LINE_MASKS);
    for (int pole = 0; pole < POLE_COUNT; ++pole)
        heights_[pole] = firstEmptyLevel(scratchCells, pole);
}

uint64_t ComputerPlayer::place(int pole, int32_t side) {
    const uint64_t threatsBefore = threats_[side];
    const int cell = pole * BOARD_SIZE + heights_[pole]++;
    scratchCells[cell] = side;
    pieces_[side] |= bit(cell);
    firstSideBalance_ += signedWeight(cell, side);
    // Only lines through the new piece can have gained a third piece.
    threats_[side] |= missingCells(pieces_[side], LINES_THROUGH_CELL[cell]);
    return threatsBefore;
}

void ComputerPlayer::takeBack(int pole, int32_t side, uint64_t threatsBefore) {
    const int cell = pole * BOARD_SIZE + --heights_[pole];
    scratchCells[cell] = EMPTY_CELL;
    pieces_[side] &= ~bit(cell);
    firstSideBalance_ -= signedWeight(cell, side);
    threats_[side] = threatsBefore;
}

bool ComputerPlayer::dropWins(int pole, int32_t side) const {
    return (threats_[side] & bit(pole * BOARD_SIZE + heights_[pole])) != 0;
}

int32_t ComputerPlayer::scoreDrop(int pole, int32_t side, int32_t depth, int32_t alpha,
                                  int32_t beta) {
    ++searchCalls;
    // The child's line test comes before its depth test; only the new piece can have
    // completed a line, since its parent held none.
    if (dropWins(pole, side)) return WIN_SCORE;
    const uint64_t threatsBefore = place(pole, side);
    const int32_t value = -searchUndecided(1 - side, depth, -beta, -alpha);
    takeBack(pole, side, threatsBefore);
    return value;
}

int32_t ComputerPlayer::searchUndecided(int32_t side, int32_t depth, int32_t alpha, int32_t beta) {
    if (depth == searchDepth) return balanceFor(side);
    if (depth + 1 == searchDepth) return searchFrontier(side, alpha, beta);
    int32_t best = LOSS_SCORE;
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        if (heights_[pole] == BOARD_SIZE) continue;
        const int32_t value = scoreDrop(pole, side, depth + 1, alpha, beta);
        if (value > best) best = value;
        if (value > alpha) {
            alpha = value;
            if (value >= beta) return beta;
        }
    }
    return best;
}

int32_t ComputerPlayer::searchFrontier(int32_t side, int32_t alpha, int32_t beta) {
    // Each child is a leaf: a drop that completes a line wins, any other scores the
    // evaluation after it, which is the current balance plus the weight of its cell.
    const int32_t balance = balanceFor(side);
    int32_t best = LOSS_SCORE;
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        if (heights_[pole] == BOARD_SIZE) continue;
        ++searchCalls;
        const int cell = pole * BOARD_SIZE + heights_[pole];
        const int32_t value = dropWins(pole, side) ? WIN_SCORE : balance + cellWeights[cell];
        if (value > best) best = value;
        if (value > alpha) {
            alpha = value;
            if (value >= beta) return beta;
        }
    }
    return best;
}
