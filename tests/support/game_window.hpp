// The real game in a private X server: started with a console answer, its window found by
// its title, with helpers to wait for the computer and to read what is drawn.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.hpp"
#include "support/x_session.hpp"

// A build of the game that the process tests run: by default this build's cube4. Another,
// such as the Windows build under wine, is named by the environment: CUBE4_TEST_GAME (the
// program) and CUBE4_TEST_RUNNER (the full path of what runs it, for wine).
struct GameProgram {
    std::vector<std::string> command;
    std::string title;  // its window's title: its own path, as it sees it
    bool crlf = false;  // its console writes line breaks as CR LF
};

const GameProgram& gameUnderTest();
// This build's own game, when another one is under test; otherwise nullptr.
const GameProgram* linuxBuildBeside();

// Console text with its line breaks as the game under test writes them.
std::string consoleText(std::string text);

class GameWindow {
public:
    // Starts the game, answers the order question and waits for the window.
    explicit GameWindow(const std::string& answer, const GameProgram& program = gameUnderTest());

    XSession& x() { return x_; }
    ChildProcess& process() { return *process_; }
    Window window() const { return window_; }

    Image capture() { return x_.capture(window_); }

    // Waits until the game has drawn and sits idle: no computer is thinking or moving and no
    // redraw is pending, or until limit has passed. The result is the picture then.
    Image settle(std::chrono::milliseconds limit = std::chrono::seconds(60));

    // A key event, then settle().
    Image press(const std::string& keysymName);

private:
    XSession x_;
    std::unique_ptr<ChildProcess> process_;
    Window window_ = 0;
};

// The console bytes written before any result: the question, the choices and the prompt, with
// line breaks as the game under test writes them.
std::string openingText();

// Whether a pixel is within tolerance of an expected colour, channel by channel.
bool near(const Pixel& p, const Pixel& expected, int tolerance = 3);
