// Installs a game record and two players for tests of the turn control, and releases them.
#pragma once

#include <gtest/gtest.h>

#include "players/computer_player.hpp"
#include "players/human_player.hpp"
#include "support/positions.hpp"
#include "support/recording_gl.hpp"
#include "view/window.hpp"

// The game never frees its players; tests do, so that leak checks stay meaningful.
inline void releasePlayers() {
    for (Player*& player : players) {
        if (player == nullptr) continue;
        if (player->isComputer == 1) {
            delete static_cast<ComputerPlayer*>(player);
        } else {
            delete static_cast<HumanPlayer*>(player);
        }
        player = nullptr;
    }
}

class GameFixture : public ::testing::Test {
protected:
    GameState game;

    void SetUp() override {
        gameState = &game;
        recording_gl::resetAll();
        initScene();  // the key map
        recording_gl::reset();
    }

    void TearDown() override {
        releasePlayers();
        gameState = nullptr;
        recording_gl::resetAll();
    }

    // Seats the players: a computer where computerFirst / computerSecond says so.
    void seat(bool computerFirst, bool computerSecond) {
        players[FIRST_SIDE] = computerFirst ? static_cast<Player*>(new ComputerPlayer(FIRST_SIDE))
                                            : new HumanPlayer(FIRST_SIDE);
        players[SECOND_SIDE] = computerSecond
                                   ? static_cast<Player*>(new ComputerPlayer(SECOND_SIDE))
                                   : new HumanPlayer(SECOND_SIDE);
    }
};
