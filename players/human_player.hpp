// The user's side: drops on the pole that the keyboard has selected.
#pragma once

#include "players/player.hpp"

class HumanPlayer final : public Player {
public:
    explicit HumanPlayer(int32_t side) : Player(side, 0) {}

    // Drops on the selected pole; silent when it is not this side's turn, no pole is
    // selected or the pole is full. The selection is left as it was.
    void move() override;
};
