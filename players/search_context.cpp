#include "players/search_context.hpp"

#include <algorithm>

#include "game/lines.hpp"
#include "players/cell_weights.hpp"

namespace {

constexpr uint64_t BOTTOM_CELLS = 0x1111111111111111;  // level 0 of every pole

constexpr int MAX_WEIGHT = 4;

constexpr bool weightsInRange() {
    for (int32_t w : CELL_WEIGHT_TABLE)
        if (w < 1 || w > MAX_WEIGHT) return false;
    return true;
}
static_assert(weightsInRange(), "the frontier sorts cells by weights 1 to 4");

// HEAVIER_THAN[w]: the cells that weigh more than w.
constexpr std::array<uint64_t, MAX_WEIGHT + 1> makeHeavierThan() {
    std::array<uint64_t, MAX_WEIGHT + 1> masks{};
    for (int w = 0; w <= MAX_WEIGHT; ++w)
        for (int cell = 0; cell < CELL_COUNT; ++cell)
            if (CELL_WEIGHT_TABLE[cell] > w) masks[w] |= uint64_t{1} << cell;
    return masks;
}
constexpr std::array<uint64_t, MAX_WEIGHT + 1> HEAVIER_THAN = makeHeavierThan();

uint64_t heavierThan(int64_t weight) {
    if (weight < 0) return ~uint64_t{0};
    return weight > MAX_WEIGHT ? 0 : HEAVIER_THAN[weight];
}

// The largest weight among the given cells, which must not be empty.
int32_t heaviest(uint64_t cells) {
    int32_t weight = 1;
    while (weight < MAX_WEIGHT && (cells & HEAVIER_THAN[weight]) != 0) ++weight;
    return weight;
}

int cellOf(uint64_t bit) { return __builtin_ctzll(bit); }
int countCells(uint64_t cells) { return __builtin_popcountll(cells); }
uint64_t lowestCell(uint64_t cells) { return cells & (~cells + 1); }

// The cell above a drop, or nothing when the drop filled its pole.
uint64_t cellAbove(uint64_t drop) { return (drop << 1) & ~BOTTOM_CELLS; }

// The cells that would complete a line of sidePieces among the given lines: the missing
// cell of every line that holds three of them. The cell may be taken by the other side.
template <typename Lines>
uint64_t missingCells(uint64_t sidePieces, const Lines& lines) {
    uint64_t missing = 0;
    for (uint64_t line : lines) {
        const uint64_t rest = line & ~sidePieces;
        const bool oneLeft = rest != 0 && (rest & (rest - 1)) == 0;
        missing |= oneLeft ? rest : 0;
    }
    return missing;
}

int32_t signedWeight(int cell, int32_t side) {
    return side == FIRST_SIDE ? CELL_WEIGHT_TABLE[cell] : -CELL_WEIGHT_TABLE[cell];
}

}  // namespace

SearchContext::SearchContext(const Board& board, int32_t depthLimit) : depthLimit_(depthLimit) {
    for (int pole = 0; pole < POLE_COUNT; ++pole) {
        int level = 0;
        for (; level < BOARD_SIZE; ++level) {
            const int cell = pole * BOARD_SIZE + level;
            const int32_t value = board[cell];
            if (value != FIRST_SIDE && value != SECOND_SIDE) break;
            pieces_[value] |= uint64_t{1} << cell;
            firstSideBalance_ += signedWeight(cell, value);
        }
        if (level < BOARD_SIZE) tops_ |= uint64_t{1} << (pole * BOARD_SIZE + level);
    }
    for (int32_t side : {FIRST_SIDE, SECOND_SIDE})
        threats_[side] = missingCells(pieces_[side], LINE_MASKS);
}

int32_t SearchContext::scoreDrop(int pole, int32_t side, int32_t depth, int32_t alpha,
                                 int32_t beta) {
    return scoreDropAt(tops_ & poleCells(pole), side, depth, alpha, beta);
}

int32_t SearchContext::scoreDropAt(uint64_t drop, int32_t side, int32_t depth, int32_t alpha,
                                   int32_t beta) {
    ++nodes;
    // The child's line test comes before its depth test; only the new piece can have
    // completed a line, since its parent held none.
    if ((threats_[side] & drop) != 0) return WIN_SCORE;
    const int cell = cellOf(drop);
    const uint64_t threatsBefore = threats_[side];
    const uint64_t topsBefore = tops_;
    pieces_[side] |= drop;
    tops_ = (tops_ ^ drop) | cellAbove(drop);
    firstSideBalance_ += signedWeight(cell, side);
    // Only lines through the new piece can have gained a third piece.
    threats_[side] |= missingCells(pieces_[side], LINES_THROUGH_CELL[cell]);

    const int32_t value = -searchUndecided(1 - side, depth, -beta, -alpha);

    pieces_[side] &= ~drop;
    tops_ = topsBefore;
    firstSideBalance_ -= signedWeight(cell, side);
    threats_[side] = threatsBefore;
    return value;
}

int32_t SearchContext::searchUndecided(int32_t side, int32_t depth, int32_t alpha, int32_t beta) {
    // The limit is met by equality only, as in the plain search: a depth past it searches on.
    if (depth == depthLimit_) return balanceFor(side);
    if (depth + 1 == depthLimit_) return searchFrontier(side, tops_, balanceFor(side), alpha, beta);
    if (depth + 2 == depthLimit_) return searchPreFrontier(side, alpha, beta);
    int32_t best = LOSS_SCORE;
    for (uint64_t open = tops_; open != 0; open &= open - 1) {
        const int32_t value = scoreDropAt(lowestCell(open), side, depth + 1, alpha, beta);
        if (value > best) best = value;
        if (value > alpha) {
            alpha = value;
            if (value >= beta) return beta;
        }
    }
    return best;
}

int32_t SearchContext::searchPreFrontier(int32_t side, int32_t alpha, int32_t beta) {
    // The children only need the tops and the balance after the drop, and the other side's
    // threats, which side's piece leaves as they are: nothing is played.
    const int32_t balance = balanceFor(side);
    int32_t best = LOSS_SCORE;
    for (uint64_t open = tops_; open != 0; open &= open - 1) {
        const uint64_t drop = lowestCell(open);
        ++nodes;
        int32_t value = WIN_SCORE;
        if ((threats_[side] & drop) == 0) {
            const uint64_t childTops = (tops_ ^ drop) | cellAbove(drop);
            const int32_t childBalance = -(balance + CELL_WEIGHT_TABLE[cellOf(drop)]);
            value = -searchFrontier(1 - side, childTops, childBalance, -beta, -alpha);
        }
        if (value > best) best = value;
        if (value > alpha) {
            alpha = value;
            if (value >= beta) return beta;
        }
    }
    return best;
}

int32_t SearchContext::searchFrontier(int32_t side, uint64_t tops, int32_t balance, int32_t alpha,
                                      int32_t beta) {
    if (tops == 0) return LOSS_SCORE;
    // Each drop is a leaf: WIN_SCORE if it completes a line, else balance plus its weight.
    const uint64_t wins = threats_[side] & tops;
    // Visiting the leaves in pole order, the first whose value exceeds both alpha and
    // beta - 1 cuts off; the ones before it raise alpha without exceeding either.
    const int64_t threshold = std::max<int64_t>(alpha, int64_t{beta} - 1);
    uint64_t cuts = tops & ~wins & heavierThan(threshold - balance);
    if (threshold < WIN_SCORE) cuts |= wins;
    if (cuts != 0) {
        const uint64_t first = lowestCell(cuts);
        nodes += countCells(tops & (first | (first - 1)));
        return beta;
    }
    nodes += countCells(tops);
    if (wins != 0) return WIN_SCORE;
    return balance + heaviest(tops);
}
