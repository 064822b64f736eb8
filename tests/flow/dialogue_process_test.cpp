// The order dialogue as a real process: bytes on standard output and the exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <thread>

#include "flow/console_texts.hpp"
#include "support/child_process.hpp"
#include "support/game_window.hpp"

namespace {

using namespace std::chrono_literals;

const std::string OPENING = openingText();
const std::string REPROMPT = consoleText(std::string(REPROMPT_TEXT));

// Runs the game with input on standard input and no display, until it exits.
ChildProcess* runWithInput(const std::string& input) {
    auto* child = new ChildProcess({gameUnderTest().command, {}, {}});
    child->write(input);
    child->closeInput();
    EXPECT_TRUE(child->waitForExit(20s));
    return child;
}

TEST(DialogueProcessTest, EmptyInputEndsQuietlyWithStatusZero) {
    std::unique_ptr<ChildProcess> game(runWithInput(""));
    EXPECT_EQ(game->output(), OPENING);
    EXPECT_EQ(game->exitStatus(), 0);
    EXPECT_EQ(game->errors(), "");
}

TEST(DialogueProcessTest, WrongAnswersThenEndOfInput) {
    std::unique_ptr<ChildProcess> game(runWithInput("x"));
    EXPECT_EQ(game->output(), OPENING + REPROMPT);
    EXPECT_EQ(game->exitStatus(), 0);
    game.reset(runWithInput("12\n\x82\x51\n"));  // "12" and a full-width "2"
    EXPECT_EQ(game->output(), OPENING + REPROMPT + REPROMPT);
    EXPECT_EQ(game->exitStatus(), 0);
}

TEST(DialogueProcessTest, AnEndlessWordTakesNoMemory) {
    // A 48 MiB word: stored whole it alone would pass the bound.
    char path[] = "/tmp/cube4-long-word-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    {
        std::ofstream file(path, std::ios::binary);
        const std::string chunk(1 << 20, 'a');
        for (int i = 0; i < 48; ++i) file << chunk;
        file << "\n";
    }
    ChildProcess game({{CUBE4_PATH}, {}, path});
    long peak = 0;
    while (!game.waitForExit(20ms)) peak = std::max(peak, game.peakMemoryKiB());
    unlink(path);
    close(fd);
    EXPECT_EQ(game.output(), OPENING + REPROMPT);
    EXPECT_EQ(game.exitStatus(), 0);
    EXPECT_LT(peak, 32 * 1024) << "KiB";
}

TEST(DialogueProcessTest, AWordThatNeverEndsKeepsMemoryBounded) {
    ChildProcess game({{CUBE4_PATH}, {}, "/dev/zero"});
    long peak = 0;
    for (int i = 0; i < 50 && !game.exited(); ++i) {
        game.waitForExit(20ms);
        peak = std::max(peak, game.peakMemoryKiB());
    }
    EXPECT_FALSE(game.exited());
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 32 * 1024) << "KiB";
    game.kill();
    EXPECT_EQ(game.output(), OPENING);  // the word has not ended: no re-prompt yet
}

}  // namespace
