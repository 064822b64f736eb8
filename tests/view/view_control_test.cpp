#include "view/view_control.hpp"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include "support/recording_gl.hpp"
#include "view/scene.hpp"

namespace {

using Values = std::vector<double>;

class ViewControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        recording_gl::resetAll();
        viewAngleX = viewAngleY = 0;
        deltaAngleX = deltaAngleY = 0;
        lastMouseX = lastMouseY = 0;
        leftDragging = 0;
    }

    static int redraws() { return recording_gl::count("glutPostRedisplay"); }
};

TEST_F(ViewControlTest, ProjectionKeepsTheShorterSideFromMinusTwoToTwo) {
    const struct {
        int w, h;
        Values ortho;
    } cases[] = {
        {500, 500, {-2, 2, -2, 2, -10, 10}},
        {800, 400, {-4, 4, -2, 2, -10, 10}},
        {400, 800, {-2, 2, -4, 4, -10, 10}},
        {1, 3, {-2, 2, -6, 6, -10, 10}},
    };
    for (const auto& c : cases) {
        recording_gl::reset();
        reshapeView(c.w, c.h);
        const auto& calls = recording_gl::calls();
        ASSERT_EQ(calls.size(), 5u);
        EXPECT_EQ(calls[0].name, "glViewport");
        EXPECT_EQ(calls[0].args, (Values{0, 0, double(c.w), double(c.h)}));
        EXPECT_EQ(calls[1].name, "glMatrixMode");
        EXPECT_EQ(calls[1].args[0], GL_PROJECTION);
        EXPECT_EQ(calls[2].name, "glLoadIdentity");
        EXPECT_EQ(calls[3].name, "glOrtho");
        EXPECT_EQ(calls[3].args, c.ortho) << c.w << " x " << c.h;
        EXPECT_EQ(calls[4].name, "glMatrixMode");
        EXPECT_EQ(calls[4].args[0], GL_MODELVIEW);
    }
}

TEST_F(ViewControlTest, AZeroSizedWindowKeepsTheLastProjection) {
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{0, 300}, std::pair{300, 0}}) {
        reshapeView(w, h);
        EXPECT_TRUE(recording_gl::calls().empty()) << w << " x " << h;
    }
}

TEST_F(ViewControlTest, LeftDragTurnsTheScene) {
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    EXPECT_EQ(viewAngleX, 0);
    EXPECT_EQ(redraws(), 0);
    mouseDrag(110, 95);
    EXPECT_DOUBLE_EQ(deltaAngleX, -1.0);
    EXPECT_DOUBLE_EQ(deltaAngleY, 2.0);
    EXPECT_DOUBLE_EQ(viewAngleX, -1.0);
    EXPECT_DOUBLE_EQ(viewAngleY, 2.0);
    EXPECT_EQ(redraws(), 1);
    mouseDrag(110, 105);  // increments are from the last position, not the press
    EXPECT_DOUBLE_EQ(deltaAngleX, 2.0);
    EXPECT_DOUBLE_EQ(deltaAngleY, 0.0);
    EXPECT_DOUBLE_EQ(viewAngleX, 1.0);
    EXPECT_EQ(redraws(), 2);
}

TEST_F(ViewControlTest, OtherButtonsNeitherStartNorEndADrag) {
    for (int button : {GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON}) {
        mouseButton(button, GLUT_DOWN, 10, 10);
        mouseDrag(50, 80);
        mouseButton(button, GLUT_UP, 50, 80);
    }
    EXPECT_EQ(viewAngleX, 0);
    EXPECT_EQ(viewAngleY, 0);
    EXPECT_EQ(redraws(), 0);

    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    mouseButton(GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    mouseButton(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0);
    mouseDrag(5, 0);
    EXPECT_DOUBLE_EQ(viewAngleY, 1.0);
    mouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 5, 0);
    mouseDrag(50, 50);
    EXPECT_DOUBLE_EQ(viewAngleY, 1.0);
    EXPECT_EQ(viewAngleX, 0);
    EXPECT_EQ(redraws(), 1);
}

TEST_F(ViewControlTest, AnglesAreNeverWrapped) {
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    for (int x = 10; x <= 2000; x += 10) mouseDrag(x, 0);
    EXPECT_NEAR(viewAngleY, 400.0, 1e-9);
    EXPECT_EQ(redraws(), 200);
}

}  // namespace
