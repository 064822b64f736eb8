// The real game window in a private X server: what a user sees before the first move.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/game_window.hpp"

namespace {

struct Shade {
    double ambient[3];
    double diffuse[3];
    double specular[3];
    double shininess;
};

// The colour GL's fixed-function lighting gives a surface of this material whose normal
// faces the viewer, under the game's five white directional lights and GL's default
// global ambient light of 0.2.
Pixel facingViewer(const Shade& m) {
    const double lights[5][3] = {{1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {0, 1.5, 0}};
    double colour[3];
    for (int c = 0; c < 3; ++c) colour[c] = 0.2 * m.ambient[c];
    for (const auto& l : lights) {
        const double length = std::sqrt(l[0] * l[0] + l[1] * l[1] + l[2] * l[2]);
        const double nDotL = l[2] / length;  // normal (0, 0, 1)
        if (nDotL <= 0) continue;
        const double h[3] = {l[0] / length, l[1] / length, l[2] / length + 1};
        const double nDotH = h[2] / std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
        for (int c = 0; c < 3; ++c)
            colour[c] += nDotL * m.diffuse[c] + std::pow(nDotH, m.shininess) * m.specular[c];
    }
    const auto channel = [](double v) {
        return static_cast<int>(std::lround(std::min(v, 1.0) * 255));
    };
    return {channel(colour[0]), channel(colour[1]), channel(colour[2])};
}

const Pixel BACKGROUND = {230, 230, 230};
const Pixel COPPER = facingViewer(
    {{0.19125, 0.0735, 0.0225}, {0.7038, 0.27048, 0.0828}, {0.256777, 0.137622, 0.086014}, 12.8});
const Pixel GREY_POLE =
    facingViewer({{0.25, 0.25, 0.25}, {0.4, 0.4, 0.4}, {0.774597, 0.774597, 0.774597}, 76.8});
const Pixel RED_POLE = facingViewer({{0.1745, 0.01175, 0.01175},
                                     {0.61424, 0.04136, 0.04136},
                                     {0.727811, 0.626959, 0.626959},
                                     76.8});

// Seen from the side, each x column of poles shows its nearest pole, column 3.
constexpr int POLE_X[4] = {112, 204, 296, 388};  // rows 0 to 3
constexpr int POLE_MID_Y = 250;
constexpr int SLAB_Y = 390;

int countPixels(const Image& image, bool (*match)(const Pixel&)) {
    return static_cast<int>(std::count_if(image.pixels.begin(), image.pixels.end(), match));
}

TEST(WindowE2ETest, AnEmptyBoardShowsTheSlabAndPolesOnLightGrey) {
    GameWindow game("1");
    const Image image = game.settle();
    ASSERT_EQ(image.width, 500);
    ASSERT_EQ(image.height, 500);
    for (const auto& [x, y] : {std::pair{2, 2}, std::pair{497, 2}, std::pair{2, 497},
                               std::pair{497, 497}, std::pair{250, 60}})
        EXPECT_TRUE(near(image.at(x, y), BACKGROUND)) << x << "," << y;
    // The slab spans x -1.5 to 1.5 and y -1.25 to -1.0: pixels 63 to 437, 375 to 406.
    for (int x : {70, 250, 430}) EXPECT_TRUE(near(image.at(x, SLAB_Y), COPPER)) << x;
    EXPECT_TRUE(near(image.at(55, SLAB_Y), BACKGROUND));
    EXPECT_TRUE(near(image.at(250, 412), BACKGROUND));
    for (int x : POLE_X) {
        EXPECT_TRUE(near(image.at(x, POLE_MID_Y), GREY_POLE)) << x;
        EXPECT_TRUE(near(image.at(x, 130), GREY_POLE)) << x;  // poles reach y = 1.0, pixel 125
        EXPECT_TRUE(near(image.at(x, 118), BACKGROUND)) << x;
        EXPECT_TRUE(near(image.at(x + 20, POLE_MID_Y), BACKGROUND)) << x;
    }
    EXPECT_EQ(countPixels(image, [](const Pixel& p) { return p.r < 100 && p.g < 100; }), 0)
        << "no piece is on the board";
    EXPECT_EQ(game.process().output(), openingText());
}

TEST(WindowE2ETest, OnlyTheSelectedPoleTurnsRed) {
    GameWindow game("1");
    game.settle();
    Image image = game.press("4");  // pole (3, 3), in front of row 3's column of poles
    EXPECT_TRUE(near(image.at(POLE_X[3], POLE_MID_Y), RED_POLE));
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(near(image.at(POLE_X[row], POLE_MID_Y), GREY_POLE));
    image = game.press("c");  // pole (0, 2), hidden behind pole (0, 3)
    for (int x : POLE_X) EXPECT_TRUE(near(image.at(x, POLE_MID_Y), GREY_POLE)) << x;
    image = game.press("v");  // pole (0, 3)
    EXPECT_TRUE(near(image.at(POLE_X[0], POLE_MID_Y), RED_POLE));
    EXPECT_TRUE(near(image.at(POLE_X[3], POLE_MID_Y), GREY_POLE));
    // Nothing was dropped: pole keys only select.
    EXPECT_EQ(countPixels(image, [](const Pixel& p) { return p.r < 100 && p.g < 100; }), 0);
}

// Copper at any shade the view angle gives it: red well above green, green above blue.
bool copperish(const Pixel& p) { return p.r > 80 && p.r > 2 * p.g && p.g > p.b; }

int copperInColumn(const Image& image, int x) {
    int count = 0;
    for (int y = 0; y < image.height; ++y) count += copperish(image.at(x, y));
    return count;
}

int copperInRow(const Image& image, int y) {
    int count = 0;
    for (int x = 0; x < image.width; ++x) count += copperish(image.at(x, y));
    return count;
}

TEST(WindowE2ETest, ADownwardLeftDragShowsTheBoardFromAbove) {
    GameWindow game("1");
    const Image before = game.settle();
    // From the side, the slab is a band 0.25 high: 31 pixels.
    EXPECT_NEAR(copperInColumn(before, 250), 31, 2);
    game.x().drag(game.window(), Button1, 250, 100, 250, 200);  // 100 pixels: 20 degrees
    const Image after = game.settle();
    // Tilted by 20 degrees the slab's 3-deep top face shows: 3 sin 20 + 0.25 cos 20 = 1.26
    // units, 157 pixels.
    EXPECT_NEAR(copperInColumn(after, 250), 157, 4);
}

TEST(WindowE2ETest, RightAndMiddleDragsChangeNothing) {
    GameWindow game("1");
    const Image before = game.settle();
    game.x().drag(game.window(), Button3, 250, 100, 350, 300);
    game.x().drag(game.window(), Button2, 250, 100, 100, 300);
    EXPECT_TRUE(sameImage(game.settle(), before));
}

TEST(WindowE2ETest, AWideWindowKeepsTheBoardUndistorted) {
    GameWindow game("1");
    const Image square = game.settle();
    game.x().resize(game.window(), 800, 400);
    game.settle();
    const Image wide = game.capture();
    ASSERT_EQ(wide.width, 800);
    ASSERT_EQ(wide.height, 400);
    // 125 pixels a unit in the square window, 100 in the wide one: the slab is 3 x 0.25
    // units in both, centred.
    EXPECT_NEAR(copperInRow(square, 390), 375, 2);
    EXPECT_NEAR(copperInColumn(square, 250), 31, 2);
    EXPECT_NEAR(copperInRow(wide, 312), 300, 2);
    EXPECT_NEAR(copperInColumn(wide, 400), 25, 2);
    EXPECT_TRUE(copperish(wide.at(400 - 148, 312)));
    EXPECT_TRUE(copperish(wide.at(400 + 148, 312)));
}

// The mean difference of two pictures of a sphere, over the discs of radius around the
// sphere's centre in each.
double sphereDifference(const Image& a, int ax, int ay, const Image& b, int bx, int by,
                        int radius) {
    double sum = 0;
    int count = 0;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            if (dx * dx + dy * dy > radius * radius) continue;
            const Pixel& p = a.at(ax + dx, ay + dy);
            const Pixel& q = b.at(bx + dx, by + dy);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            ++count;
        }
    return sum / (3.0 * count);
}

TEST(WindowE2ETest, TurningTheViewLeavesTheHighlightsWhereTheyWere) {
    GameWindow game("1");
    game.settle();
    game.press("v");  // pole (0, 3), in front on the left
    const Image before = game.press("Return");
    // The piece at (-1.1, -0.8, 1.1), 125 pixels a unit: (112, 350) on screen; tilted by 20
    // degrees it is seen at y = -0.8 cos 20 - 1.1 sin 20 = -1.128, pixel 391.
    game.x().drag(game.window(), Button1, 250, 100, 250, 200);
    const Image after = game.settle();
    // With the lights fixed to the viewer a sphere looks the same from every side, but for
    // its facets; lights turned with the scene would carry its highlights 20 degrees round.
    // Measured: about 1.5 as it should be, about 20 with the lights turned.
    EXPECT_LT(sphereDifference(before, 112, 350, after, 112, 391, 19), 5.0);
    // Both pictures do show the dark piece there, beside its pole.
    for (const auto& [image, y] : {std::pair{&before, 350}, std::pair{&after, 391}}) {
        const Pixel& p = image->at(100, y);
        EXPECT_TRUE(p.r < 90 && p.g < 90 && p.b < 90) << p.r << " " << p.g << " " << p.b;
    }
}

}  // namespace
