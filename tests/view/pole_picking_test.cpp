#include "view/pole_picking.hpp"

#include <gtest/gtest.h>

#include "support/positions.hpp"

namespace {

// A 500 x 500 window shows the board at 125 pixels a unit around its centre: a pole of row k
// (column k, seen from above) stands at 250 + (k * 0.7333 - 1.1) * 125, from y 125 (top) to
// 375 (foot); a piece of level l is centred at y 350 - 50 l.
constexpr double SIZE = 500;
constexpr double TOLERANCE = 6;
double poleX(int k) { return 250 + (k * 0.7333333333333334 - 1.1) * 125; }

std::optional<Pole> pick(const Board& cells, double angleX, double x, double y,
                         double tolerance = TOLERANCE) {
    return poleAt(cells, angleX, 0, x, y, SIZE, SIZE, tolerance);
}

const Board EMPTY = boardWith({});

TEST(PolePickingTest, FromTheSideATapTakesTheFrontPoleOfItsRowWithinTheTolerance) {
    for (int row = 0; row < BOARD_SIZE; ++row) {
        EXPECT_EQ(pick(EMPTY, 0, poleX(row), 200), (Pole{row, 3})) << row;
        EXPECT_EQ(pick(EMPTY, 0, poleX(row) + 8, 200), (Pole{row, 3})) << row;
        EXPECT_EQ(pick(EMPTY, 0, poleX(row) + 8, 200, 0), std::nullopt) << row;
        EXPECT_EQ(pick(EMPTY, 0, poleX(row) - 10, 200), std::nullopt) << row;
        EXPECT_EQ(pick(EMPTY, 0, poleX(row), 120), (Pole{row, 3})) << "above its top";
        // Just below the foot lies the slab's front face, which hides the pole's foot.
        EXPECT_EQ(pick(EMPTY, 0, poleX(row), 380), std::nullopt) << row;
    }
    // Any pixel size: three times the pixels, three times the tolerance.
    EXPECT_EQ(poleAt(EMPTY, 0, 0, 3 * (poleX(2) + 8), 600, 3 * SIZE, 3 * SIZE, 3 * TOLERANCE),
              (Pole{2, 3}));
    EXPECT_EQ(poleAt(EMPTY, 0, 0, 100, 100, 0, 0, TOLERANCE), std::nullopt) << "no window";
}

TEST(PolePickingTest, FromAboveEachPoleIsTakenWhereItStands) {
    for (int row = 0; row < BOARD_SIZE; ++row)
        for (int col = 0; col < BOARD_SIZE; ++col)
            EXPECT_EQ(pick(EMPTY, 90, poleX(row) + 2, poleX(col) - 2), (Pole{row, col}));
    // Turned a quarter about the vertical axis too, rows run up the window, columns to the
    // right.
    EXPECT_EQ(poleAt(EMPTY, 90, 90, poleX(0), poleX(3), SIZE, SIZE, TOLERANCE), (Pole{0, 0}));
    EXPECT_EQ(poleAt(EMPTY, 90, 90, poleX(1), poleX(2), SIZE, SIZE, TOLERANCE), (Pole{1, 1}));
    EXPECT_EQ(pick(EMPTY, 90, 250, 250), std::nullopt) << "between the poles";
}

TEST(PolePickingTest, APieceTakesItsPoleAndHidesThePolesBehindIt) {
    // Row 1's pieces: one on the back pole, then one in front of it two poles nearer.
    Board cells = boardWith({{1, 0, 0}});
    const double beside = poleX(1) + 20;  // on the sphere, well away from the pole in front
    EXPECT_EQ(pick(cells, 0, beside, 350), (Pole{1, 0}));
    EXPECT_EQ(pick(cells, 0, poleX(1), 350), (Pole{1, 3})) << "the front pole is nearer";
    cells = boardWith({{1, 0, 0}}, {{1, 2, 0}});
    EXPECT_EQ(pick(cells, 0, beside, 350), (Pole{1, 2}));
    EXPECT_EQ(pick(cells, 0, beside, 300), std::nullopt) << "the level above is empty";
    // Seen from below, the slab hides the pieces and poles above it.
    EXPECT_EQ(pick(cells, -80, beside, 250), std::nullopt);
}

}  // namespace
