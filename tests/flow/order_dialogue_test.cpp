#include "flow/order_dialogue.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "flow/console_texts.hpp"
#include "support/players_fixture.hpp"

namespace {

const std::string OPENING = std::string(QUESTION_TEXT) + "\n" + std::string(CHOICES_TEXT) + "\n> ";
const std::string REPROMPT(REPROMPT_TEXT);

struct Dialogue {
    Order order;
    std::string output;
    std::string rest;  // input left unread
};

Dialogue talk(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    const Order order = readOrder(in, out);
    std::string rest;
    std::getline(in, rest, '\0');
    return {order, out.str(), rest};
}

TEST(OrderDialogueTest, OpeningBytesAreTheShiftJisTexts) {
    const std::string expected =
        "\x90\xe6\x8e\xe8\x82\xa9\x8c\xe3\x8e\xe8\x82\xa9\x82\xf0\x82\xa6\x82\xe7\x82\xf1\x82\xc5"
        "\x82\xcb\n1)\x90\xe6\x8e\xe8            2)\x8c\xe3\x8e\xe8\n> ";
    const Dialogue d = talk("");
    EXPECT_EQ(d.order, NO_ORDER);
    EXPECT_EQ(d.output, expected);
    EXPECT_EQ(REPROMPT, "\x82\xbf\x82\xe1\x82\xf1\x82\xc6\x91\x49\x82\xd7\x81\x49\n> ");
}

TEST(OrderDialogueTest, AcceptsTheThreeAnswers) {
    EXPECT_EQ(talk("1\n").order, HUMAN_FIRST);
    EXPECT_EQ(talk("2\n").order, HUMAN_SECOND);
    EXPECT_EQ(talk("3\n").order, COMPUTER_ONLY);
    EXPECT_EQ(talk("1").order, HUMAN_FIRST);  // no final line break
    EXPECT_EQ(talk("  2").order, HUMAN_SECOND);
    EXPECT_EQ(talk("\t\v\f\r\n 3 ").order, COMPUTER_ONLY);
}

TEST(OrderDialogueTest, EachWrongWordGetsOneReprompt) {
    Dialogue d = talk("x\n");
    EXPECT_EQ(d.order, NO_ORDER);
    EXPECT_EQ(d.output, OPENING + REPROMPT);
    d = talk("12 1a 0 x\n2\n1");
    EXPECT_EQ(d.order, HUMAN_SECOND);
    EXPECT_EQ(d.output, OPENING + REPROMPT + REPROMPT + REPROMPT + REPROMPT);
    EXPECT_EQ(d.rest, "\n1");  // the word ends at white space, which stays unread
}

TEST(OrderDialogueTest, FullWidthCharactersArePartOfTheWord) {
    // Full-width "1", a full-width space before "1", and "1" glued to a full-width space.
    const Dialogue d = talk(
        "\x82\x50\n\x81\x40"
        "1\n1\x81\x40\n");
    EXPECT_EQ(d.order, NO_ORDER);
    EXPECT_EQ(d.output, OPENING + REPROMPT + REPROMPT + REPROMPT);
}

TEST(OrderDialogueTest, NulAndHighBytesAreNotWhiteSpace) {
    EXPECT_EQ(talk(std::string("1\0", 2)).output, OPENING + REPROMPT);
    EXPECT_EQ(talk("\xa0"
                   "1")
                  .output,
              OPENING + REPROMPT);
}

TEST(OrderDialogueTest, ALongWordIsOneWrongAnswerAndIsNotKept) {
    std::istringstream in(std::string(100000, '1') + " 3");
    std::string word;
    ASSERT_TRUE(readWord(in, word));
    EXPECT_EQ(word, "11");
    ASSERT_TRUE(readWord(in, word));
    EXPECT_EQ(word, "3");
    EXPECT_FALSE(readWord(in, word));
    EXPECT_TRUE(in.fail());
}

TEST(OrderDialogueTest, PlayersAreSeatedInTheChosenOrder) {
    const auto check = [](Order order, int firstIsComputer, int secondIsComputer) {
        createPlayers(order);
        EXPECT_EQ(players[FIRST_SIDE]->side, FIRST_SIDE);
        EXPECT_EQ(players[SECOND_SIDE]->side, SECOND_SIDE);
        EXPECT_EQ(players[FIRST_SIDE]->isComputer, firstIsComputer) << order;
        EXPECT_EQ(players[SECOND_SIDE]->isComputer, secondIsComputer) << order;
        releasePlayers();
    };
    check(HUMAN_FIRST, 0, 1);
    check(HUMAN_SECOND, 1, 0);
    check(COMPUTER_ONLY, 1, 1);
}

}  // namespace
