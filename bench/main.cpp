// cube4-bench: times the computer's choice on positions read one per line.
//
//   cube4-bench [--oracle] [--threads N] [FILE]
//
// Each position is 64 characters in cell-index order ('.', 'X' first mover, 'O' second
// mover); blank lines and lines starting with '#' are skipped. The side to move follows from
// the number of pieces. --oracle runs the plain reference search instead of the game's;
// --threads sets how many threads the game's search uses (default: all hardware threads).
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "game/game_state.hpp"
#include "game/position_text.hpp"
#include "players/computer_player.hpp"
#include "players/oracle_search.hpp"

namespace {

struct Choice {
    int32_t pole;
    int32_t depth;
    uint64_t nodes;
};

Choice chooseWith(bool oracle, int threads, GameState& game) {
    if (oracle) {
        OracleSearch search(game.sideToMove);
        const int32_t pole = search.chooseMove(game);
        return {pole, search.searchDepth, search.searchCalls};
    }
    ComputerPlayer player(game.sideToMove);
    player.searchThreads = threads;
    const int32_t pole = player.chooseMove();
    return {pole, player.searchDepth, player.searchCalls};
}

int usage() {
    std::fprintf(stderr, "usage: cube4-bench [--oracle] [--threads N] [FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool oracle = false;
    int threads = defaultSearchThreads();
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--oracle") {
            oracle = true;
        } else if (arg == "--threads" && i + 1 < argc) {
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || n < 1 || n > MAX_SEARCH_THREADS) return usage();
            threads = static_cast<int>(n);
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            return usage();
        }
    }
    std::ifstream file;
    if (path != nullptr) {
        file.open(path);
        if (!file) {
            std::fprintf(stderr, "cube4-bench: cannot read %s\n", path);
            return 1;
        }
    }
    std::istream& in = path != nullptr ? file : std::cin;

    using Clock = std::chrono::steady_clock;
    Clock::duration total{};
    uint64_t totalNodes = 0;
    int positions = 0;
    std::string line;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        GameState game;
        const std::string error = parsePosition(line, game.cells);
        if (!error.empty() || pieceCount(game.cells) == CELL_COUNT) {
            std::fprintf(stderr, "cube4-bench: line %d: %s\n", lineNumber,
                         error.empty() ? "the board is full" : error.c_str());
            return 1;
        }
        game.moveCount = pieceCount(game.cells);
        game.sideToMove = game.moveCount % 2 == 0 ? FIRST_SIDE : SECOND_SIDE;
        gameState = &game;

        const Clock::time_point start = Clock::now();
        const Choice choice = chooseWith(oracle, threads, game);
        const Clock::duration elapsed = Clock::now() - start;
        gameState = nullptr;

        total += elapsed;
        totalNodes += choice.nodes;
        ++positions;
        std::printf("choice=%02d depth=%d nodes=%" PRIu64 " ms=%.3f\n", choice.pole, choice.depth,
                    choice.nodes, std::chrono::duration<double, std::milli>(elapsed).count());
    }
    const double seconds = std::chrono::duration<double>(total).count();
    std::printf("total: positions=%d threads=%d nodes=%" PRIu64 " ms=%.3f nodes_per_second=%.0f\n",
                positions, oracle ? 1 : threads, totalNodes, seconds * 1000.0,
                seconds > 0 ? totalNodes / seconds : 0.0);
    return 0;
}
