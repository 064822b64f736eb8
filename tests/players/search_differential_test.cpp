// The fast search against the plain reference, on random positions.
#include <gtest/gtest.h>

#include <random>

#include "players/computer_player.hpp"
#include "players/oracle_search.hpp"
#include "support/positions.hpp"

namespace {

#ifdef CUBE4_SANITIZED
constexpr int POSITION_COUNT = 250;
#else
constexpr int POSITION_COUNT = 2000;
#endif

// A board reached by pieceCount random drops in turn; with avoidLines, no drop completes a
// line (a drop that would is replaced by another; a dead end starts over).
Board randomBoard(std::mt19937& random, int pieces, bool avoidLines) {
    for (;;) {
        GameState game;
        bool stuck = false;
        while (game.moveCount < pieces && !stuck) {
            int tries = 0;
            for (;;) {
                const int pole = static_cast<int>(random() % POLE_COUNT);
                GameState next = game;
                if (next.playMove(pole / 4, pole % 4) &&
                    (!avoidLines || GameState::findWinner(next.cells) == NO_WINNER)) {
                    game = next;
                    break;
                }
                if (++tries == 200) {
                    stuck = true;
                    break;
                }
            }
        }
        if (!stuck) return game.cells;
    }
}

// A move count for the depth schedule that keeps the search small enough for a unit test:
// the real one where it gives at most 5 plies or the board is nearly full, else one that does.
int32_t cheapMoveCount(std::mt19937& random, int pieces) {
    if (pieces < 10 || pieces >= 57) return pieces;
    if (random() % 4 == 0) return static_cast<int32_t>(random() % 10);  // 5 plies
    return 60 + static_cast<int32_t>(random() % 4);                     // 4 down to 1 ply
}

int32_t randomBound(std::mt19937& random) {
    const int32_t interesting[] = {LOSS_SCORE, WIN_SCORE, ROOT_START_SCORE, 0, -1, 1};
    if (random() % 3 == 0) return interesting[random() % 6];
    return static_cast<int32_t>(random() % 41) - 20;
}

TEST(SearchDifferentialTest, ChoicesValuesAndNodeCountsMatchThePlainSearchOnAnyThreadCount) {
    std::mt19937 random(20261209);
    for (int i = 0; i < POSITION_COUNT; ++i) {
        const int pieces = static_cast<int>(random() % 61);
        GameState game = gameWith(randomBoard(random, pieces, true));
        game.moveCount = cheapMoveCount(random, pieces);
        UseGame use(game);
        const int32_t side = pieces % 2 == 0 ? FIRST_SIDE : SECOND_SIDE;
        OracleSearch plain(side);
        const int32_t expected = plain.chooseMove(game);
        // One player for all thread counts: each choice must add exactly the plain count.
        ComputerPlayer fast(side);
        for (int threads : {1, 2, MAX_SEARCH_THREADS}) {
            fast.searchThreads = threads;
            fast.rootScores.fill(0);
            const uint64_t callsBefore = fast.searchCalls;
            const std::string where = formatPosition(game.cells) + " moveCount " +
                                      std::to_string(game.moveCount) + " threads " +
                                      std::to_string(threads);
            ASSERT_EQ(fast.chooseMove(), expected) << where;
            ASSERT_EQ(fast.rootScores, plain.rootScores) << where;
            ASSERT_EQ(fast.searchCalls - callsBefore, plain.searchCalls) << where;
            ASSERT_EQ(fast.searchDepth, plain.searchDepth) << where;
            ASSERT_EQ(fast.scratchCells, game.cells) << where;
        }
    }
}

TEST(SearchDifferentialTest, SearchWithAnyWindowMatchesThePlainSearch) {
    std::mt19937 random(7);
    GameState game;
    UseGame use(game);
    for (int i = 0; i < POSITION_COUNT; ++i) {
        // Some boards own lines, for one side or both, to exercise the line test at entry.
        const Board board = randomBoard(random, static_cast<int>(random() % 61), i % 4 != 0);
        const int32_t side = static_cast<int32_t>(random() % 2);
        ComputerPlayer fast(side);
        OracleSearch plain(side);
        fast.searchDepth = plain.searchDepth = 1 + static_cast<int32_t>(random() % 4);
        const int32_t depth = 1 + static_cast<int32_t>(random() % fast.searchDepth);
        int32_t alpha = randomBound(random);
        int32_t beta = randomBound(random);
        // Mostly proper windows; now and then an inverted one, which must agree as well.
        if (alpha > beta && i % 8 != 0) std::swap(alpha, beta);
        fast.scratchCells = plain.scratchCells = board;
        const std::string where = formatPosition(board) + " side " + std::to_string(side) +
                                  " depth " + std::to_string(depth) + "/" +
                                  std::to_string(fast.searchDepth) + " window " +
                                  std::to_string(alpha) + " " + std::to_string(beta);
        ASSERT_EQ(fast.search(side, depth, alpha, beta), plain.search(side, depth, alpha, beta))
            << where;
        ASSERT_EQ(fast.searchCalls, plain.searchCalls) << where;
        ASSERT_EQ(fast.scratchCells, board) << where;
    }
}

TEST(SearchDifferentialTest, HandBuiltRootsOwningALineMatchThePlainSearch) {
    // The fast root relies on the board owning no line; these roots do, for either side.
    std::mt19937 random(11);
    int checked = 0;
    while (checked < 50) {
        GameState game = gameWith(randomBoard(random, 20 + static_cast<int>(random() % 30), false));
        if (GameState::findWinner(game.cells) == NO_WINNER) continue;
        game.moveCount = 63 - static_cast<int32_t>(random() % 3);  // 1 to 3 plies
        UseGame use(game);
        ComputerPlayer fast(game.sideToMove);
        OracleSearch plain(game.sideToMove);
        ASSERT_EQ(fast.chooseMove(), plain.chooseMove(game)) << formatPosition(game.cells);
        ASSERT_EQ(fast.rootScores, plain.rootScores) << formatPosition(game.cells);
        ASSERT_EQ(fast.searchCalls, plain.searchCalls) << formatPosition(game.cells);
        ++checked;
    }
}

}  // namespace
