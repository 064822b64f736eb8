#include "support/game_window.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "flow/console_texts.hpp"

namespace {

using namespace std::chrono_literals;

// CPU time used so far by process pid, in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t close = content.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(content.substr(close + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;  // state .. cmajflt
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

// In a sanitizer build, leak checking stays off for the windowed game: Mesa's driver is
// unloaded at exit and its buffers then show as leaks of an unknown module. The game's own
// allocations are leak-checked by the dialogue's process tests and the unit tests.
std::string sanitizerOptions() {
    const char* inherited = std::getenv("ASAN_OPTIONS");
    return std::string("ASAN_OPTIONS=") + (inherited != nullptr ? inherited : "") +
           ":detect_leaks=0";
}

// A function's static, since tests read it while their own globals are initialised.
const GameProgram& linuxBuild() {
    static const GameProgram program{{CUBE4_PATH}, CUBE4_PATH, false};
    return program;
}

GameProgram fromEnvironment() {
    const char* game = std::getenv("CUBE4_TEST_GAME");
    if (game == nullptr || *game == '\0') return linuxBuild();
    GameProgram program;
    const char* runner = std::getenv("CUBE4_TEST_RUNNER");
    if (runner != nullptr && *runner != '\0') program.command.push_back(runner);
    program.command.push_back(game);
    program.title = game;
    if (program.command.size() > 1) {
        // wine hands a Windows program its path on drive Z:, which maps the Unix root; it
        // writes line breaks as CR LF, as Windows' C runtime does in text mode.
        program.title = "Z:" + program.title;
        for (char& c : program.title)
            if (c == '/') c = '\\';
        program.crlf = true;
    }
    return program;
}

}  // namespace

const GameProgram& gameUnderTest() {
    static const GameProgram program = fromEnvironment();
    return program;
}

const GameProgram* linuxBuildBeside() {
    return gameUnderTest().command == linuxBuild().command ? nullptr : &linuxBuild();
}

std::string consoleText(std::string text) {
    if (!gameUnderTest().crlf) return text;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.insert(at, 1, '\r');
    return text;
}

GameWindow::GameWindow(const std::string& answer, const GameProgram& program) {
    process_ = std::make_unique<ChildProcess>(
        ProcessOptions{program.command, {x_.displayVariable(), sanitizerOptions()}, {}});
    process_->write(answer + "\n");
    window_ = x_.findWindow(program.title, 20s);
    if (window_ == 0) {
        process_->waitForExit(0ms);
        throw std::runtime_error(
            "no game window appeared; exit status " + std::to_string(process_->exitStatus()) +
            "; stdout: " + process_->output() + "; stderr: " + process_->errors());
    }
}

Image GameWindow::settle(std::chrono::milliseconds limit) {
    // The game is idle once its CPU time stops growing for a few samples in a row.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    long last = cpuTicks(process_->pid());
    int quiet = 0;
    while (quiet < 4 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        process_->waitForOutput([](const std::string&) { return false; }, 0ms);
        const long now = cpuTicks(process_->pid());
        quiet = now == last ? quiet + 1 : 0;
        last = now;
    }
    return capture();
}

Image GameWindow::press(const std::string& keysymName) {
    x_.typeKey(window_, keysymName);
    return settle();
}

std::string openingText() {
    return consoleText(std::string(QUESTION_TEXT) + "\n" + std::string(CHOICES_TEXT) + "\n" +
                       std::string(PROMPT_TEXT));
}

bool near(const Pixel& p, const Pixel& expected, int tolerance) {
    return std::abs(p.r - expected.r) <= tolerance && std::abs(p.g - expected.g) <= tolerance &&
           std::abs(p.b - expected.b) <= tolerance;
}
