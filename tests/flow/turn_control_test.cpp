#include "flow/turn_control.hpp"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "flow/console_texts.hpp"
#include "support/players_fixture.hpp"
#include "view/view_control.hpp"

namespace {

// A full board that owns no line.
constexpr const char* FULL_BOARD_WITHOUT_LINE =
    "OXOOXXXOXOXXOXXOOOXXXXXOOXOOOXOOOOXXXXOXOOOXXOXOXOXOOOXOXXXOXOOX";

class TurnControlTest : public GameFixture {
protected:
    std::ostringstream console;
    std::streambuf* savedCout = nullptr;

    void SetUp() override {
        GameFixture::SetUp();
        savedCout = std::cout.rdbuf(console.rdbuf());
    }
    void TearDown() override {
        std::cout.rdbuf(savedCout);
        GameFixture::TearDown();
    }

    void press(char key) { keyPressed(static_cast<unsigned char>(key), 0, 0); }
    void pressEnter() { keyPressed(ENTER_KEY, 0, 0); }
    bool idleArmed() const { return recording_gl::idleFunc() == computerTurn; }
    int redraws() const { return recording_gl::count("glutPostRedisplay"); }

    // The board of the full no-line position with one cell emptied, human or computer to move.
    void loadFullBoardWithout(int row, int col, int level) {
        Board board;
        ASSERT_EQ(parsePosition(FULL_BOARD_WITHOUT_LINE, board), "");
        board[cellIndex(row, col, level)] = EMPTY_CELL;
        game = gameWith(board);
    }
};

std::string line(std::string_view text, std::string_view closing = {}) {
    return std::string(text) + std::string(closing) + "\n";
}

TEST_F(TurnControlTest, PoleKeysSelectThroughTheKeyMapOnly) {
    seat(false, true);
    press('s');
    EXPECT_EQ(game.selectedRow, 1);
    EXPECT_EQ(game.selectedCol, 1);
    press('S');  // upper case is not mapped
    press('5');
    press(static_cast<char>(0xe1));  // a byte that would be negative as a signed char
    EXPECT_EQ(game.selectedRow, 1);
    EXPECT_EQ(game.selectedCol, 1);
    press('4');
    EXPECT_EQ(game.selectedRow, 3);
    EXPECT_EQ(game.selectedCol, 3);
    EXPECT_EQ(redraws(), 5);  // every key requests a redraw while the game runs
    EXPECT_FALSE(idleArmed());
    EXPECT_EQ(game.moveCount, 0);
}

TEST_F(TurnControlTest, EnterBeforeAnyPoleKeyDoesNothingButRedraw) {
    seat(false, true);
    pressEnter();
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_EQ(redraws(), 1);
    EXPECT_FALSE(idleArmed());
    EXPECT_EQ(console.str(), "");
}

TEST_F(TurnControlTest, HumanMoveArmsTheComputerWhichRepliesOnTheNextIdleCall) {
    seat(false, true);
    press('s');
    pressEnter();
    EXPECT_EQ(game.cells[cellIndex(1, 1, 0)], FIRST_SIDE);
    EXPECT_EQ(game.sideToMove, SECOND_SIDE);
    EXPECT_TRUE(idleArmed());
    recording_gl::reset();
    computerTurn();
    EXPECT_EQ(game.moveCount, 2);
    EXPECT_EQ(game.sideToMove, FIRST_SIDE);
    // The computer's pole is the selection and holds its piece.
    ASSERT_GE(game.selectedRow, 0);
    const int base = cellIndex(game.selectedRow, game.selectedCol, 0);
    EXPECT_TRUE(game.cells[base] == SECOND_SIDE || game.cells[base + 1] == SECOND_SIDE);
    EXPECT_FALSE(idleArmed());
    EXPECT_EQ(redraws(), 1);
    EXPECT_EQ(console.str(), "");
}

TEST_F(TurnControlTest, EnterOnAFullPoleKeepsTheHumanToMove) {
    seat(false, true);
    game = gameWith(boardWith({{2, 2, 0}, {2, 2, 2}}, {{2, 2, 1}, {2, 2, 3}}));
    press('e');
    pressEnter();
    EXPECT_EQ(game.moveCount, 4);
    EXPECT_EQ(game.sideToMove, FIRST_SIDE);
    EXPECT_FALSE(idleArmed());
    EXPECT_EQ(redraws(), 2);
}

TEST_F(TurnControlTest, EnterDuringTheComputersTurnMakesItMoveAtOnce) {
    seat(true, false);
    pressEnter();
    EXPECT_EQ(game.cells[cellIndex(0, 0, 0)], FIRST_SIDE);
    EXPECT_EQ(game.sideToMove, SECOND_SIDE);
    EXPECT_EQ(game.selectedRow, 0);
    EXPECT_FALSE(idleArmed());  // a human is to move now
    // An idle call armed earlier waits while the human is to move.
    recording_gl::reset();
    computerTurn();
    EXPECT_EQ(game.moveCount, 1);
    EXPECT_EQ(redraws(), 0);
}

TEST_F(TurnControlTest, ArmedIdleWaitsForTheHumanAndStaysArmed) {
    seat(true, false);
    game.sideToMove = SECOND_SIDE;
    game.moveCount = 1;
    game.cells[cellIndex(0, 0, 0)] = FIRST_SIDE;
    glutIdleFunc(computerTurn);
    recording_gl::reset();
    computerTurn();
    EXPECT_TRUE(idleArmed());
    EXPECT_EQ(recording_gl::calls().size(), 0u);
}

TEST_F(TurnControlTest, ComputerWinOnEnterPrintsTheKeyPressText) {
    seat(false, true);
    game = gameWith(
        boardWith({{3, 3, 0}, {3, 2, 0}, {2, 3, 0}, {1, 1, 0}}, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
    ASSERT_EQ(game.sideToMove, SECOND_SIDE);
    pressEnter();
    EXPECT_EQ(game.cells[cellIndex(0, 3, 0)], SECOND_SIDE);
    EXPECT_EQ(console.str(), line(SECOND_SIDE_WINS_TEXT));
    EXPECT_FALSE(game.active);
}

TEST_F(TurnControlTest, HumanWinOnEnterPrintsTheTextWithoutExclamation) {
    seat(false, true);
    game =
        gameWith(boardWith({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}, {{3, 3, 0}, {3, 2, 0}, {2, 3, 0}}));
    press('v');
    glutIdleFunc(computerTurn);
    pressEnter();
    EXPECT_EQ(console.str(), line(FIRST_SIDE_WINS_TEXT));
    EXPECT_FALSE(game.active);
    // The result disarms the idle call; the common tail then arms it again for the computer
    // to move, and its next call disarms it for good.
    EXPECT_TRUE(idleArmed());
    recording_gl::reset();
    computerTurn();
    EXPECT_FALSE(idleArmed());
    EXPECT_EQ(redraws(), 0);
    EXPECT_EQ(game.moveCount, 7);
}

TEST_F(TurnControlTest, ComputerWinInTheIdleCallPrintsTheTextWithExclamation) {
    seat(false, true);
    game = gameWith(
        boardWith({{3, 3, 0}, {3, 2, 0}, {2, 3, 0}, {1, 1, 0}}, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
    glutIdleFunc(computerTurn);
    computerTurn();
    EXPECT_EQ(console.str(), line(SECOND_SIDE_WINS_TEXT, EXCLAMATION_TEXT));
    EXPECT_FALSE(game.active);
    EXPECT_FALSE(idleArmed());
}

TEST_F(TurnControlTest, TheSixtyFourthMoveWithoutALineIsADraw) {
    seat(true, false);
    loadFullBoardWithout(0, 0, 3);  // the second mover, a human here, fills the board
    press('z');
    pressEnter();
    EXPECT_EQ(game.moveCount, CELL_COUNT);
    EXPECT_EQ(console.str(), line(DRAW_TEXT));
    EXPECT_FALSE(game.active);
}

TEST_F(TurnControlTest, TheSixtyFourthMoveCompletingALineIsAWin) {
    seat(true, true);
    // Full, this board owns one line: the second mover's column line (t, 1, 3).
    Board board;
    ASSERT_EQ(
        parsePosition("XOXXOXOOOXOOXXXOXXOOOOXOXOXXOOOXOOXXXXXOOXOXOXOXOXOOOXXOXOXXOOXX", board),
        "");
    board[cellIndex(0, 1, 3)] = EMPTY_CELL;
    ASSERT_EQ(GameState::findWinner(board), NO_WINNER);
    game = gameWith(board);
    ASSERT_EQ(game.sideToMove, SECOND_SIDE);
    glutIdleFunc(computerTurn);
    computerTurn();
    EXPECT_EQ(game.moveCount, CELL_COUNT);
    EXPECT_EQ(console.str(), line(SECOND_SIDE_WINS_TEXT, EXCLAMATION_TEXT));
}

TEST_F(TurnControlTest, KeysAfterTheEndDoNothing) {
    seat(false, true);
    game.active = false;
    press('q');
    pressEnter();
    EXPECT_EQ(game.selectedRow, -1);
    EXPECT_EQ(game.moveCount, 0);
    EXPECT_TRUE(recording_gl::calls().empty());
    glutIdleFunc(computerTurn);
    computerTurn();
    EXPECT_FALSE(idleArmed());
    EXPECT_EQ(redraws(), 0);
}

TEST_F(TurnControlTest, ComputerAgainstComputerPlaysToOneResult) {
    seat(true, true);
    glutIdleFunc(computerTurn);
    int calls = 0;
    while (idleArmed() && calls < 100) {
        recording_gl::idleFunc()();
        ++calls;
    }
    EXPECT_FALSE(game.active);
    const std::string out = console.str();
    const bool oneWinLine = out == line(FIRST_SIDE_WINS_TEXT, EXCLAMATION_TEXT) ||
                            out == line(SECOND_SIDE_WINS_TEXT, EXCLAMATION_TEXT) ||
                            out == line(DRAW_TEXT, EXCLAMATION_TEXT);
    EXPECT_TRUE(oneWinLine) << out;
    EXPECT_EQ(calls, game.moveCount);  // one move per idle call, none after the end
    EXPECT_EQ(redraws(), game.moveCount);
}

// The record's invariants between callbacks, and the console's: at most one result line,
// written exactly when the game stopped.
void expectConsistent(const GameState& game, const std::string& console, const char* after) {
    int pieces[2] = {0, 0};
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        bool emptyBelow = false;
        for (int level = 0; level < BOARD_SIZE; ++level) {
            const int32_t cell = game.cells[pole * BOARD_SIZE + level];
            ASSERT_TRUE(cell == EMPTY_CELL || cell == FIRST_SIDE || cell == SECOND_SIDE) << after;
            if (cell == EMPTY_CELL) {
                emptyBelow = true;
                continue;
            }
            ASSERT_FALSE(emptyBelow) << "a piece floats on pole " << pole << " after " << after;
            ++pieces[cell];
        }
    }
    ASSERT_EQ(game.moveCount, pieces[FIRST_SIDE] + pieces[SECOND_SIDE]) << after;
    ASSERT_EQ(pieces[FIRST_SIDE], (game.moveCount + 1) / 2) << after;
    ASSERT_EQ(game.sideToMove, game.moveCount % 2 == 0 ? FIRST_SIDE : SECOND_SIDE) << after;
    const bool noSelection = game.selectedRow == -1 && game.selectedCol == -1;
    const bool onBoard = game.selectedRow >= 0 && game.selectedRow < BOARD_SIZE &&
                         game.selectedCol >= 0 && game.selectedCol < BOARD_SIZE;
    ASSERT_TRUE(noSelection || onBoard) << after;
    const int32_t winner = GameState::findWinner(game.cells);
    if (game.active) {
        ASSERT_EQ(winner, NO_WINNER) << after;
        ASSERT_LT(game.moveCount, CELL_COUNT) << after;
        ASSERT_EQ(console, "") << after;
    } else {
        ASSERT_TRUE(winner != NO_WINNER || game.moveCount == CELL_COUNT) << after;
        ASSERT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
    }
}

TEST_F(TurnControlTest, RandomKeysClicksAndIdleCallsKeepTheRecordConsistent) {
    // Every byte a keyboard can send, with Enter and the pole keys made more likely, and the
    // idle callback run at random moments while armed, as GLUT interleaves them with keys.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        game = GameState();
        console.str("");
        recording_gl::resetAll();
        releasePlayers();
        seat(false, true);
        std::mt19937 random(seed);
        for (int event = 0; event < 3000; ++event) {
            const GameState before = game;
            const unsigned roll = random() % 10;
            const char* what = "a key";
            if (roll < 3 && idleArmed()) {
                recording_gl::idleFunc()();
                what = "an idle call";
            } else if (roll < 5) {
                pressEnter();
                what = "Enter";
            } else if (roll < 6) {
                mouseButton(static_cast<int>(random() % 3), static_cast<int>(random() % 2),
                            static_cast<int>(random() % 500), static_cast<int>(random() % 500));
                mouseDrag(static_cast<int>(random() % 500), static_cast<int>(random() % 500));
                what = "a click and a drag";
            } else if (roll < 8) {
                press("1234qwerasdfzxcv"[random() % 16]);
            } else {
                press(static_cast<char>(random() % 256));
            }
            ASSERT_NO_FATAL_FAILURE(expectConsistent(game, console.str(), what)) << seed;
            if (!before.active) {
                ASSERT_EQ(game.cells, before.cells) << "the board changed after the end";
                ASSERT_EQ(game.selectedRow, before.selectedRow);
            }
        }
        EXPECT_FALSE(game.active) << "3000 events end a game, seed " << seed;
    }
}

}  // namespace
