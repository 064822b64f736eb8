#include "players/computer_player.hpp"

#include <algorithm>
#include <atomic>

#include "game/game_state.hpp"
#include "players/cell_weights.hpp"

CellWeights cellWeights{};

namespace {

// The lowest empty level of the pole, BOARD_SIZE when it is full.
int firstEmptyLevel(const Board& board, int pole) {
    int level = 0;
    while (level < BOARD_SIZE && board[pole * BOARD_SIZE + level] != EMPTY_CELL) ++level;
    return level;
}

int32_t choiceOf(int pole) { return (pole / BOARD_SIZE) * 10 + pole % BOARD_SIZE; }

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
    if (GameState::findWinner(scratchCells) == NO_WINNER) {
        scoreRootsUndecided();
    } else {
        // In play the board never holds a line here; a hand-built one that does is searched
        // through the full line test at every child.
        for (int pole = 0; pole < POLE_COUNT; ++pole) {
            rootScores[pole] = ROOT_START_SCORE;
            const int level = firstEmptyLevel(scratchCells, pole);
            if (level == BOARD_SIZE) continue;
            scratchCells[pole * BOARD_SIZE + level] = side;
            rootScores[pole] = -search(1 - side, 1, LOSS_SCORE, WIN_SCORE);
            scratchCells[pole * BOARD_SIZE + level] = EMPTY_CELL;
        }
    }
    // The first pole among the best; a full pole's ROOT_START_SCORE never beats the start.
    int32_t best = ROOT_START_SCORE;
    int32_t choice = NO_CHOICE;
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        if (rootScores[pole] > best) {
            best = rootScores[pole];
            choice = choiceOf(pole);
        }
    }
    return choice;
}

void ComputerPlayer::scoreRootsUndecided() {
    // Every root pole is searched with the full window, so its value and its nodes do not
    // depend on the other poles: the threads take poles in turn, each on its own copy.
    const SearchContext root(scratchCells, searchDepth);
    std::array<int, POLE_COUNT> open{};
    int openCount = 0;
    for (int pole = 0; pole < POLE_COUNT; ++pole)
        if (root.isOpen(pole)) open[openCount++] = pole;

    struct PoleResult {
        int32_t value;
        uint64_t nodes;
    };
    std::array<PoleResult, POLE_COUNT> results{};
    std::atomic<int> next{0};
    const int32_t mover = side;
    // The helpers read only these locals and write only their own poles' results.
    searchPool().run(std::min(searchThreads, openCount), [&](int) {
        SearchContext context = root;
        for (int i; (i = next.fetch_add(1, std::memory_order_relaxed)) < openCount;) {
            const uint64_t nodesBefore = context.nodes;
            results[i].value = context.scoreDrop(open[i], mover, 1, LOSS_SCORE, WIN_SCORE);
            results[i].nodes = context.nodes - nodesBefore;
        }
    });

    rootScores.fill(ROOT_START_SCORE);
    for (int i = 0; i < openCount; ++i) {
        rootScores[open[i]] = results[i].value;
        searchCalls += results[i].nodes;
    }
}

int32_t ComputerPlayer::search(int32_t side, int32_t depth, int32_t alpha, int32_t beta) {
    ++searchCalls;
    const int32_t winner = GameState::findWinner(scratchCells);
    if (winner == side) return WIN_SCORE;
    if (winner == 1 - side) return LOSS_SCORE;
    SearchContext context(scratchCells, searchDepth);
    const int32_t value = context.searchUndecided(side, depth, alpha, beta);
    searchCalls += context.nodes;
    return value;
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
