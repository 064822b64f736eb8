#include "view/scene.hpp"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "support/positions.hpp"
#include "support/recording_gl.hpp"

namespace {

using Values = std::vector<double>;

const Values POLE_AMBIENT = {0.25, 0.25, 0.25, 1};
const Values SELECTED_AMBIENT = {0.1745, 0.01175, 0.01175, 1};

// The four material calls expected at calls[at..at+3], by ambient colour and shininess.
void expectMaterial(const std::vector<GlCall>& calls, size_t at, const Values& ambient,
                    double shininess, const std::string& where) {
    ASSERT_LE(at + 4, calls.size()) << where;
    const GLenum order[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_SHININESS};
    for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(calls[at + k].name, "glMaterialfv") << where;
        EXPECT_EQ(calls[at + k].args[0], GL_FRONT) << where;
        EXPECT_EQ(calls[at + k].args[1], order[k]) << where;
    }
    for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(calls[at].args[2 + k], ambient[k]) << where;
    EXPECT_FLOAT_EQ(calls[at + 3].args[2], shininess) << where;
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

    // Index of the first call after glEnd.
    static size_t afterQuads(const std::vector<GlCall>& calls) {
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i].name == "glEnd") return i + 1;
        return calls.size();
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

TEST_F(SceneTest, EmptyBoardDrawsSlabAndSixteenPolesAndNoSphere) {
    const auto& calls = draw();
    EXPECT_EQ(recording_gl::count("glBegin"), 1);
    EXPECT_EQ(recording_gl::count("glEnd"), 1);
    EXPECT_EQ(recording_gl::count("glVertex3dv"), 408);
    EXPECT_EQ(recording_gl::count("glutSolidSphere"), 0);
    EXPECT_EQ(recording_gl::count("glTranslated"), 0);
    // The slab: copper material once, then its 24 vertices, bottom face (quad 4) at y -1.25.
    expectMaterial(calls, 5, {0.19125, 0.0735, 0.0225, 1}, 12.8, "slab");
    ASSERT_EQ(calls[9].name, "glVertex3dv");
    EXPECT_EQ(calls[9].args, (Values{-1.5, -1.25, -1.5}));
    EXPECT_EQ(calls[9 + 16].args, (Values{-1.5, -1.25, 1.5}));
    EXPECT_EQ(calls[9 + 23].args, (Values{-1.5, -1.0, 1.5}));
    // Every pole vertex follows its own four material calls, all in the pole material.
    size_t at = 9 + 24;
    for (int vertex = 0; vertex < 384; ++vertex, at += 5) {
        const std::string where = "pole vertex " + std::to_string(vertex);
        expectMaterial(calls, at, POLE_AMBIENT, 76.8, where);
        ASSERT_EQ(calls[at + 4].name, "glVertex3dv") << where;
    }
    EXPECT_EQ(calls[at].name, "glEnd");
}

TEST_F(SceneTest, PolesStandAtTheirShiftedPlaces) {
    const auto& calls = draw();
    const auto vertices = recording_gl::callsNamed("glVertex3dv");
    // Pole (0, 0), first vertex: the prototype's corner shifted by 0.375 on x and z.
    EXPECT_DOUBLE_EQ(vertices[24].args[0], -1.5 + 0.375);
    EXPECT_DOUBLE_EQ(vertices[24].args[1], -1.0);
    EXPECT_DOUBLE_EQ(vertices[24].args[2], -1.5 + 0.375);
    // Pole (row 2, col 3), the 12th pole: its centre lies at x = 2s - 1.1, z = 3s - 1.1.
    const double s = 0.7333333333333334;
    double sumX = 0, sumZ = 0, top = -9;
    for (int n = 0; n < 24; ++n) {
        const GlCall& v = vertices[24 + 11 * 24 + n];
        sumX += v.args[0];
        sumZ += v.args[2];
        top = std::max(top, v.args[1]);
    }
    EXPECT_NEAR(sumX / 24, 2 * s - 1.1, 1e-12);
    EXPECT_NEAR(sumZ / 24, 3 * s - 1.1, 1e-12);
    EXPECT_EQ(top, 1.0);
    EXPECT_FALSE(calls.empty());
}

TEST_F(SceneTest, OnlyTheSelectedPoleUsesTheSelectionMaterial) {
    game.selectedRow = 2;
    game.selectedCol = 3;
    const auto& calls = draw();
    size_t at = 9 + 24;
    for (int pole = 0; pole < 16; ++pole) {
        const bool selected = pole == 2 * 4 + 3;
        for (int n = 0; n < 24; ++n, at += 5)
            expectMaterial(calls, at, selected ? SELECTED_AMBIENT : POLE_AMBIENT, 76.8,
                           "pole " + std::to_string(pole));
    }
}

TEST_F(SceneTest, PiecesAreSpheresPlacedAndTranslatedBack) {
    game.cells[0] = FIRST_SIDE;    // row 0, col 0, level 0
    game.cells[51] = SECOND_SIDE;  // row 3, col 0, level 3
    const auto& calls = draw();
    size_t at = afterQuads(calls);
    const auto expectPiece = [&](double x, double y, double z, const Values& ambient) {
        ASSERT_EQ(calls[at].name, "glTranslated");
        EXPECT_NEAR(calls[at].args[0], x, 1e-12);
        EXPECT_NEAR(calls[at].args[1], y, 1e-12);
        EXPECT_NEAR(calls[at].args[2], z, 1e-12);
        expectMaterial(calls, at + 1, ambient, 10, "piece");
        ASSERT_EQ(calls[at + 5].name, "glutSolidSphere");
        EXPECT_EQ(calls[at + 5].args, (Values{0.2, 20, 20}));
        ASSERT_EQ(calls[at + 6].name, "glTranslated");
        for (int k = 0; k < 3; ++k) EXPECT_EQ(calls[at + 6].args[k], -calls[at].args[k]);
        at += 7;
    };
    expectPiece(-1.1, -0.8, -1.1, {0.02, 0.02, 0.02, 1});
    expectPiece(1.1, 0.4, -1.1, {0.05, 0.05, 0.05, 1});
    EXPECT_EQ(calls[at].name, "glutSwapBuffers");
}

TEST_F(SceneTest, AFinishedGameIsDrawnAsItStands) {
    game.active = false;
    game.cells[cellIndex(1, 2, 0)] = FIRST_SIDE;
    game.selectedRow = 1;
    game.selectedCol = 2;
    draw();
    EXPECT_EQ(recording_gl::count("glutSolidSphere"), 1);
    int selectedAmbients = 0;
    for (const GlCall& call : recording_gl::callsNamed("glMaterialfv"))
        if (call.args[1] == GL_AMBIENT && std::fabs(call.args[2] - 0.1745) < 1e-6)
            ++selectedAmbients;
    EXPECT_EQ(selectedAmbients, 24);
}

}  // namespace
