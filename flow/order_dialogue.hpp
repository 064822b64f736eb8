// The console dialogue that asks for the order of play.
#pragma once

#include <istream>
#include <ostream>
#include <string>

// The answers the dialogue accepts; NO_ORDER when input ended first.
enum Order { NO_ORDER = 0, HUMAN_FIRST = 1, HUMAN_SECOND = 2, COMPUTER_ONLY = 3 };

// Reads one whitespace-delimited word as formatted string extraction does, keeping only its
// first two characters so that an endless word takes no memory; enough to tell an answer
// from a wrong one. Returns false, with failbit set, when input ends before a word.
bool readWord(std::istream& in, std::string& word);

// Writes the question and prompts, reading words until one is an answer; re-prompts after
// every wrong one.
Order readOrder(std::istream& in, std::ostream& out);

// Fills the players table for the order: the first mover is created first.
void createPlayers(Order order);
