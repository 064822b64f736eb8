#include "view/scene.hpp"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "support/positions.hpp"
#include "support/recording_gl.hpp"

namespace {

using Values = std::vector<double>;

// Materials as the tests tell them apart: ambient colour, then shininess.
const Values SLAB = {0.19125f, 0.0735f, 0.0225f, 1.0f, 12.8f};
const Values POLE = {0.25f, 0.25f, 0.25f, 1.0f, 76.8f};
const Values SELECTED_POLE = {0.1745f, 0.01175f, 0.01175f, 1.0f, 76.8f};
const Values FIRST_PIECE = {0.02f, 0.02f, 0.02f, 1.0f, 10.0f};
const Values SECOND_PIECE = {0.05f, 0.05f, 0.05f, 1.0f, 10.0f};
constexpr double S = 0.7333333333333334;  // the poles' spacing

// What a frame draws, as its pixels depend on it: each quad with its corners and the material
// they are lit with (empty where its corners differ), and each sphere with its centre, its
// size and its material.
struct Quad {
    std::array<Values, 4> corners;
    Values material;
    Values centre() const {
        Values c(3);
        for (const Values& corner : corners)
            for (int k = 0; k < 3; ++k) c[k] += corner[k] / 4;
        return c;
    }
};
struct Sphere {
    Values centre, size, material;
};
struct Drawn {
    std::vector<Quad> quads;
    std::vector<Sphere> spheres;
};

Drawn replay(const std::vector<GlCall>& calls) {
    Drawn drawn;
    Values material(5), offset(3);
    int corner = 0;
    for (const GlCall& call : calls) {
        if (call.name == "glMaterialfv" && call.args[1] == GL_AMBIENT) {
            std::copy(call.args.begin() + 2, call.args.begin() + 6, material.begin());
        } else if (call.name == "glMaterialfv" && call.args[1] == GL_SHININESS) {
            material[4] = call.args[2];
        } else if (call.name == "glTranslated") {
            for (int k = 0; k < 3; ++k) offset[k] += call.args[k];
        } else if (call.name == "glVertex3dv") {
            if (corner == 0) drawn.quads.push_back({{}, material});
            Quad& quad = drawn.quads.back();
            if (quad.material != material) quad.material.clear();
            quad.corners[corner] = {call.args[0] + offset[0], call.args[1] + offset[1],
                                    call.args[2] + offset[2]};
            corner = (corner + 1) % 4;
        } else if (call.name == "glutSolidSphere") {
            drawn.spheres.push_back({offset, call.args, material});
        }
    }
    return drawn;
}

// The box low x, y, z, high x, y, z whose six faces the quads are, or nothing if they are not.
Values boxOf(const std::vector<Quad>& quads) {
    Values box = {1e9, 1e9, 1e9, -1e9, -1e9, -1e9};
    for (const Quad& quad : quads)
        for (const Values& c : quad.corners)
            for (int k = 0; k < 3; ++k) {
                box[k] = std::min(box[k], c[k]);
                box[3 + k] = std::max(box[3 + k], c[k]);
            }
    std::vector<int> faces;
    for (const Quad& quad : quads)
        for (int face = 0; face < 6; ++face)
            if (std::all_of(quad.corners.begin(), quad.corners.end(),
                            [&](const Values& c) { return c[face % 3] == box[face]; }))
                faces.push_back(face);
    std::sort(faces.begin(), faces.end());
    return faces == std::vector<int>{0, 1, 2, 3, 4, 5} ? box : Values{};
}

void expectNear(const Values& actual, const Values& expected, const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t k = 0; k < actual.size(); ++k) EXPECT_NEAR(actual[k], expected[k], 1e-12) << what;
}

class SceneTest : public ::testing::Test {
protected:
    GameState game;
    UseGame use{game};

    void SetUp() override {
        recording_gl::resetAll();
        viewAngleX = 0;
        viewAngleY = 0;
    }

    const std::vector<GlCall>& draw() {
        recording_gl::reset();
        displayScene();
        return recording_gl::calls();
    }

    // The quads of the pole at (row, col), found by where they stand.
    static std::vector<Quad> poleQuads(const Drawn& drawn, int row, int col) {
        std::vector<Quad> found;
        for (const Quad& quad : drawn.quads) {
            const Values c = quad.centre();
            if (quad.material != SLAB && std::abs(c[0] - (row * S - 1.1)) < 0.1 &&
                std::abs(c[2] - (col * S - 1.1)) < 0.1)
                found.push_back(quad);
        }
        return found;
    }
};

TEST_F(SceneTest, FrameOpensWithClearIdentityAndTheTwoRotations) {
    viewAngleX = -12.5;
    viewAngleY = 400.0;
    const auto& calls = draw();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0].name, "glClear");
    EXPECT_EQ(calls[0].args[0], GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    EXPECT_EQ(calls[1].name, "glLoadIdentity");
    EXPECT_EQ(calls[2].name, "glRotated");
    EXPECT_EQ(calls[2].args, (Values{-12.5, 1, 0, 0}));
    EXPECT_EQ(calls[3].name, "glRotated");
    EXPECT_EQ(calls[3].args, (Values{400.0, 0, 1, 0}));
    EXPECT_EQ(calls[4].name, "glBegin");
    EXPECT_EQ(calls[4].args[0], GL_QUADS);
    EXPECT_EQ(calls.back().name, "glutSwapBuffers");
}

TEST_F(SceneTest, EmptyBoardDrawsTheSlabAndSixteenPolesAndNoSphere) {
    const Drawn drawn = replay(draw());
    ASSERT_EQ(drawn.quads.size(), 6u * 17) << "a box of six faces for the slab and each pole";
    EXPECT_TRUE(drawn.spheres.empty());
    std::vector<Quad> slab;
    std::copy_if(drawn.quads.begin(), drawn.quads.end(), std::back_inserter(slab),
                 [](const Quad& quad) { return quad.material == SLAB; });
    ASSERT_EQ(slab.size(), 6u);
    EXPECT_EQ(boxOf(slab), (Values{-1.5, -1.25, -1.5, 1.5, -1.0, 1.5}));
}

TEST_F(SceneTest, PolesStandAtTheirPlacesAndOnlyTheSelectedOneIsRed) {
    game.selectedRow = 2;
    game.selectedCol = 3;
    const Drawn drawn = replay(draw());
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const std::string where = "pole " + std::to_string(row) + ", " + std::to_string(col);
            const std::vector<Quad> quads = poleQuads(drawn, row, col);
            ASSERT_EQ(quads.size(), 6u) << where;
            for (const Quad& quad : quads)
                EXPECT_EQ(quad.material, row == 2 && col == 3 ? SELECTED_POLE : POLE) << where;
            const double x = row * S - 1.1, z = col * S - 1.1;
            expectNear(boxOf(quads), {x - 0.025, -1.0, z - 0.025, x + 0.025, 1.0, z + 0.025},
                       where);
        }
    }
}

TEST_F(SceneTest, PiecesAreSpheresAtTheirCellsInTheirSidesMaterials) {
    game.cells[0] = FIRST_SIDE;    // row 0, col 0, level 0
    game.cells[51] = SECOND_SIDE;  // row 3, col 0, level 3
    const Drawn drawn = replay(draw());
    ASSERT_EQ(drawn.spheres.size(), 2u);
    for (const Sphere& sphere : drawn.spheres) EXPECT_EQ(sphere.size, (Values{0.2, 20, 20}));
    expectNear(drawn.spheres[0].centre, {-1.1, -0.8, -1.1}, "the first mover's piece");
    EXPECT_EQ(drawn.spheres[0].material, FIRST_PIECE);
    expectNear(drawn.spheres[1].centre, {1.1, 0.4, -1.1}, "the second mover's piece");
    EXPECT_EQ(drawn.spheres[1].material, SECOND_PIECE);
}

TEST_F(SceneTest, AFinishedGameIsDrawnAsItStands) {
    game.active = false;
    game.cells[cellIndex(1, 2, 0)] = FIRST_SIDE;
    game.selectedRow = 1;
    game.selectedCol = 2;
    const Drawn drawn = replay(draw());
    ASSERT_EQ(drawn.spheres.size(), 1u);
    expectNear(drawn.spheres[0].centre, {1 * S - 1.1, -0.8, 2 * S - 1.1}, "the piece");
    for (const Quad& quad : poleQuads(drawn, 1, 2)) EXPECT_EQ(quad.material, SELECTED_POLE);
}

}  // namespace
