#include "flow/order_dialogue.hpp"

#include <iostream>
#include <locale>

#include "flow/console_texts.hpp"
#include "game/game_state.hpp"
#include "players/computer_player.hpp"
#include "players/human_player.hpp"
#include "view/window.hpp"

namespace {

// One more than the longest answer: any longer word is wrong whatever follows.
constexpr std::size_t KEPT_WORD_LENGTH = 2;

Player* newPlayer(bool computer, int32_t side) {
    if (computer) return new ComputerPlayer(side);
    return new HumanPlayer(side);
}

}  // namespace

bool readWord(std::istream& in, std::string& word) {
    using Traits = std::istream::traits_type;
    word.clear();
    // The sentry flushes the tied output and skips leading white space of the stream's locale.
    const std::istream::sentry sentry(in);
    if (!sentry) return false;
    const auto& ctype = std::use_facet<std::ctype<char>>(in.getloc());
    std::streambuf* buffer = in.rdbuf();
    for (auto c = buffer->sgetc();; c = buffer->snextc()) {
        if (Traits::eq_int_type(c, Traits::eof())) {
            in.setstate(std::ios::eofbit);
            break;
        }
        const char ch = Traits::to_char_type(c);
        if (ctype.is(std::ctype_base::space, ch)) break;
        if (word.size() < KEPT_WORD_LENGTH) word.push_back(ch);
    }
    return true;
}

Order readOrder(std::istream& in, std::ostream& out) {
    out << QUESTION_TEXT << '\n' << std::flush;
    out << CHOICES_TEXT << '\n' << std::flush;
    out << PROMPT_TEXT;
    std::string word;
    while (readWord(in, word)) {
        if (word == "1") return HUMAN_FIRST;
        if (word == "2") return HUMAN_SECOND;
        if (word == "3") return COMPUTER_ONLY;
        out << REPROMPT_TEXT;
    }
    return NO_ORDER;
}

void createPlayers(Order order) {
    players[FIRST_SIDE] = newPlayer(order != HUMAN_FIRST, FIRST_SIDE);
    players[SECOND_SIDE] = newPlayer(order != HUMAN_SECOND, SECOND_SIDE);
}

void GameState::chooseOrder(int argc, char** argv) {
    const Order order = readOrder(std::cin, std::cout);
    if (order == NO_ORDER) return;
    createPlayers(order);
    startWindow(argc, argv);
}
