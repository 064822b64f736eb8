// The two players of a game, one per side.
#pragma once

#include <cstdint>

class Player {
public:
    int32_t side;
    int32_t isComputer;  // 1 for a ComputerPlayer, 0 for a HumanPlayer

    // Makes this player's move on the game record if it is its turn; otherwise does nothing.
    virtual void move() = 0;

protected:
    Player(int32_t side, int32_t isComputer) : side(side), isComputer(isComputer) {}
    // Players live until the process ends and are never deleted through this base.
    ~Player() = default;
};

// The players indexed by side: players[FIRST_SIDE] moves first.
extern Player* players[2];
