#include "view/window.hpp"

#include <GL/glut.h>
#include <gtest/gtest.h>

#include "flow/turn_control.hpp"
#include "support/players_fixture.hpp"

namespace {

using Values = std::vector<double>;

class WindowTest : public GameFixture {
protected:
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const GlCall& call : recording_gl::calls()) found.push_back(call.name);
        return found;
    }

    void start() {
        keyMap.clear();
        char program[] = "/some/path/cube4";
        char* argv[] = {program, nullptr};
        startWindow(1, argv);
    }
};

TEST_F(WindowTest, StartupOrderForAHumanFirstMover) {
    seat(false, true);
    start();
    const std::vector<std::string> expected = {
        "glutInit",        "glutInitDisplayMode", "glutInitWindowSize", "glutCreateWindow",
        "glutReshapeFunc", "glutDisplayFunc",     "glutMouseFunc",      "glutKeyboardFunc",
        "glutMotionFunc",  "glClearColor"};
    const auto all = names();
    ASSERT_GE(all.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + expected.size()), expected);
    EXPECT_EQ(all.back(), "glutMainLoop");
    EXPECT_EQ(recording_gl::count("glutIdleFunc"), 0);
    const auto& calls = recording_gl::calls();
    EXPECT_EQ(calls[1].args[0], GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    EXPECT_EQ(calls[1].args[0], 18);
    EXPECT_EQ(calls[2].args, (Values{500, 500}));
    EXPECT_EQ(calls[3].text, "/some/path/cube4");
}

TEST_F(WindowTest, AComputerFirstMoverArmsTheIdleCallBeforeTheScene) {
    for (bool second : {false, true}) {
        recording_gl::resetAll();
        seat(true, second);
        start();
        const auto all = names();
        EXPECT_EQ(all[9], "glutIdleFunc");
        EXPECT_EQ(all[10], "glClearColor");
        EXPECT_EQ(recording_gl::idleFunc(), computerTurn);
        TearDown();
        SetUp();
    }
}

TEST_F(WindowTest, SceneSetupLightsAndKeyMap) {
    keyMap.clear();
    initScene();
    const auto& calls = recording_gl::calls();
    ASSERT_EQ(calls.size(), 1u + 20u + 1u + 5u + 1u);
    EXPECT_EQ(calls[0].name, "glClearColor");
    EXPECT_EQ(calls[0].args, (Values{0.9f, 0.9f, 0.9f, 1.0f}));
    const Values positions[5] = {
        {1, 1, 1, 0}, {1, 1, -1, 0}, {-1, 1, -1, 0}, {-1, 1, 1, 0}, {0, 1.5, 0, 0}};
    for (int n = 0; n < 5; ++n) {
        const GlCall* light = &calls[1 + 4 * n];
        const GLenum pnames[] = {GL_POSITION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};
        const Values values[] = {positions[n], {0, 0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(light[k].name, "glLightfv");
            EXPECT_EQ(light[k].args[0], GL_LIGHT0 + n);
            EXPECT_EQ(light[k].args[1], pnames[k]);
            EXPECT_EQ(Values(light[k].args.begin() + 2, light[k].args.end()), values[k]);
        }
    }
    const GLenum enabled[] = {GL_LIGHTING, GL_LIGHT0, GL_LIGHT1,    GL_LIGHT2,
                              GL_LIGHT3,   GL_LIGHT4, GL_DEPTH_TEST};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(calls[21 + k].name, "glEnable");
        EXPECT_EQ(calls[21 + k].args[0], enabled[k]);
    }

    EXPECT_EQ(keyMap.size(), 16u);
    EXPECT_EQ(keyMap.at('v'), std::make_pair(0, 3));
    EXPECT_EQ(keyMap.at('1'), std::make_pair(3, 0));
    EXPECT_EQ(keyMap.at('e'), std::make_pair(2, 2));
    EXPECT_EQ(keyMap.at('z'), std::make_pair(0, 0));
    EXPECT_EQ(keyMap.at('f'), std::make_pair(1, 3));
    for (char absent : {'Q', '5', 'g', '\r', 'V'}) EXPECT_EQ(keyMap.count(absent), 0u) << absent;
}

}  // namespace
