// Whole games against the real program in a private X server, with real key events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "flow/console_texts.hpp"
#include "game/game_state.hpp"
#include "players/computer_player.hpp"
#include "players/human_player.hpp"
#include "support/game_window.hpp"

namespace {

using namespace std::chrono_literals;

std::string resultLine(int32_t winner, bool exclaim) {
    std::string text(winner == FIRST_SIDE    ? FIRST_SIDE_WINS_TEXT
                     : winner == SECOND_SIDE ? SECOND_SIDE_WINS_TEXT
                                             : DRAW_TEXT);
    if (exclaim) text += EXCLAMATION_TEXT;
    return consoleText(text + "\n");
}

bool isResultLine(const std::string& text) {
    for (int32_t winner : {FIRST_SIDE, SECOND_SIDE, NO_WINNER})
        for (bool exclaim : {false, true})
            if (text == resultLine(winner, exclaim)) return true;
    return false;
}

bool isDark(const Pixel& p) { return p.r < 90 && p.g < 90 && p.b < 90; }

int darkPixels(const Image& image) {
    int count = 0;
    for (const Pixel& p : image.pixels) count += isDark(p);
    return count;
}

struct PredictedGame {
    std::vector<std::string> keys;   // the human's pole keys
    std::vector<std::string> moves;  // the pole key of every move, both sides'
    std::string result;              // the console's result line
};

// A human who always drops on the first open pole in key order plays the computer, in
// process.
PredictedGame predictGame(const std::string& keyOrder) {
    const std::string poleOf = "zxcvasdfqwer1234";  // rows 0 to 3, columns 0 to 3
    GameState game;
    gameState = &game;
    HumanPlayer human(FIRST_SIDE);
    ComputerPlayer computer(SECOND_SIDE);
    std::vector<std::string> keys;
    std::vector<std::string> moves;
    const auto played = [&] {
        moves.push_back(poleOf.substr(game.selectedRow * 4 + game.selectedCol, 1));
    };
    std::string result;
    while (result.empty()) {
        for (char key : keyOrder) {
            const int pole = static_cast<int>(poleOf.find(key));
            if (game.cells[cellIndex(pole / 4, pole % 4, 3)] != EMPTY_CELL) continue;
            game.selectedRow = pole / 4;
            game.selectedCol = pole % 4;
            keys.push_back(std::string(1, key));
            break;
        }
        human.move();
        played();
        const int32_t afterHuman = GameState::findWinner(game.cells);
        if (afterHuman != NO_WINNER || game.moveCount == CELL_COUNT) {
            result = resultLine(afterHuman, false);
            break;
        }
        computer.move();  // selects the pole it plays
        played();
        const int32_t afterComputer = GameState::findWinner(game.cells);
        if (afterComputer != NO_WINNER || game.moveCount == CELL_COUNT)
            result = resultLine(afterComputer, true);
    }
    gameState = nullptr;
    return {keys, moves, result};
}

TEST(GameE2ETest, TheComputerPlaysBothSidesToExactlyOneResult) {
    GameWindow game("3");
    const std::string ending = consoleText(std::string(EXCLAMATION_TEXT) + "\n");
    const auto ended = [&ending](const std::string& out) {
        return out.size() >= ending.size() &&
               out.compare(out.size() - ending.size(), ending.size(), ending) == 0;
    };
    ASSERT_TRUE(game.process().waitForOutput(ended, 120s)) << game.process().output();
    const Image image = game.settle();
    const std::string out = game.process().output();
    ASSERT_EQ(out.substr(0, openingText().size()), openingText());
    EXPECT_TRUE(isResultLine(out.substr(openingText().size()))) << out;
    EXPECT_GT(darkPixels(image), 0) << "first-mover pieces are drawn";
    EXPECT_FALSE(game.process().exited());
}

TEST(GameE2ETest, AHumanFirstGameEndsWithTheResultTheRulesPredict) {
    const auto [keys, moves, expected] = predictGame("zxcvasdfqwer1234");
    const auto play = [&keys = keys](GameWindow& game) {
        game.settle();
        for (const std::string& key : keys) {
            game.x().typeKey(game.window(), key);
            game.press("Return");  // waits for the computer's reply
        }
        return game.settle();
    };
    GameWindow game("1");
    const Image before = play(game);
    EXPECT_EQ(game.process().output(), openingText() + expected);
    // The game is over: more keys change nothing on screen.
    game.press("b");
    const Image after = game.press("Return");
    EXPECT_EQ(game.process().output(), openingText() + expected);
    EXPECT_TRUE(sameImage(after, before));
    // Another build under test ends on this build's final frame, pixel for pixel.
    if (const GameProgram* linuxBuild = linuxBuildBeside()) {
        GameWindow reference("1", *linuxBuild);
        EXPECT_TRUE(sameImage(play(reference), before));
    }
    // The browser edition's test replays this game, the human's keys among its moves, and
    // compares its console, every move, its final frame, that frame turned by a drag, and the
    // turned frame in a window of CUBE4_GAME_RECORD_SIZE pixels square, a phone's board.
    if (const char* record = std::getenv("CUBE4_GAME_RECORD")) {
        const std::string folder(record);
        std::ofstream moveFile(folder + "/moves");
        for (const std::string& move : moves) moveFile << move << '\n';
        std::ofstream(folder + "/output", std::ios::binary) << game.process().output();
        ASSERT_TRUE(writePpm(before, folder + "/frame.ppm"));
        game.x().drag(game.window(), Button1, 250, 150, 250, 300);
        ASSERT_TRUE(writePpm(game.settle(), folder + "/turned.ppm"));
        if (const char* size = std::getenv("CUBE4_GAME_RECORD_SIZE")) {
            game.x().resize(game.window(), std::atoi(size), std::atoi(size));
            ASSERT_TRUE(writePpm(game.settle(), folder + "/turned-resized.ppm"));
        }
    }
}

TEST(GameE2ETest, TheComputerOpensOnPoleZeroZeroWhenTheHumanIsSecond) {
    GameWindow game("2");
    const Image image = game.settle();
    // A dark sphere of radius 25 pixels centred on pole (0, 0, 0): x 112, y 350, on both
    // sides of the pole in front of it, and nothing dark anywhere else.
    EXPECT_TRUE(isDark(image.at(100, 350)));
    EXPECT_TRUE(isDark(image.at(124, 350)));
    int outside = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (isDark(image.at(x, y)) && (std::abs(x - 112) > 26 || std::abs(y - 350) > 26))
                ++outside;
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(game.process().output(), openingText());
}

TEST(GameE2ETest, AWrongAnswerThenABlankPaddedTwoStillStartsTheGame) {
    GameWindow game("x\n  2");
    const Image image = game.settle();
    EXPECT_EQ(game.process().output(), openingText() + consoleText(std::string(REPROMPT_TEXT)));
    EXPECT_TRUE(isDark(image.at(100, 350))) << "the computer opened on pole (0, 0)";
}

TEST(GameE2ETest, ClosingTheWindowEndsTheProcess) {
    GameWindow game("1");
    game.settle();
    game.x().requestClose(game.window());
    ASSERT_TRUE(game.process().waitForExit(20s));
    EXPECT_EQ(game.process().exitStatus(), 0) << game.process().errors();
    EXPECT_EQ(game.process().output(), openingText());
}

TEST(GameE2ETest, AKeyAndMouseStormNeverBreaksTheGame) {
    // Enter pressed while the computer is to move makes it move at once and leaves the idle
    // callback armed while the human is to move: the game then spins without drawing until
    // the human moves, and never looks idle. The storm only waits so long for it.
    constexpr auto PACE = 3s;
    GameWindow game("1");
    game.settle();
    const std::vector<std::string> keys = {
        "Return", "Return", "1", "2", "3", "4",     "q",   "w",      "e",        "r",
        "a",      "s",      "d", "f", "z", "x",     "c",   "v",      "Q",        "W",
        "A",      "Z",      "5", "0", "g", "space", "Tab", "Escape", "BackSpace"};
    std::mt19937 random(42);
    for (int i = 0; i < 2000; ++i) {
        if (random() % 50 == 0) {
            const int x = static_cast<int>(random() % 500), y = static_cast<int>(random() % 500);
            game.x().drag(game.window(), 1 + random() % 3, x, y, static_cast<int>(random() % 500),
                          static_cast<int>(random() % 500), 3);
        } else {
            game.x().typeKey(game.window(), keys[random() % keys.size()]);
        }
        if (i % 100 == 99) game.settle(PACE);
    }
    game.settle(PACE);
    ASSERT_FALSE(game.process().exited()) << game.process().errors();
    const std::string out = game.process().output();
    ASSERT_EQ(out.substr(0, openingText().size()), openingText());
    const std::string rest = out.substr(openingText().size());
    EXPECT_TRUE(rest.empty() || isResultLine(rest)) << rest;
}

}  // namespace
