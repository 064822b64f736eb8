// The console texts, as Shift-JIS (code page 932) bytes written unchanged.
#pragma once

#include <string_view>

// "先手か後手かをえらんでね"
constexpr std::string_view QUESTION_TEXT =
    "\x90\xe6\x8e\xe8\x82\xa9\x8c\xe3\x8e\xe8\x82\xa9\x82\xf0\x82\xa6\x82\xe7\x82\xf1\x82\xc5"
    "\x82\xcb";
// "1)先手            2)後手"
constexpr std::string_view CHOICES_TEXT = "1)\x90\xe6\x8e\xe8            2)\x8c\xe3\x8e\xe8";
constexpr std::string_view PROMPT_TEXT = "> ";
// "ちゃんと選べ！" and a fresh prompt
constexpr std::string_view REPROMPT_TEXT =
    "\x82\xbf\x82\xe1\x82\xf1\x82\xc6\x91\x49\x82\xd7\x81\x49\n> ";

// "先手の勝ち", "後手の勝ち", "引き分け"
constexpr std::string_view FIRST_SIDE_WINS_TEXT = "\x90\xe6\x8e\xe8\x82\xcc\x8f\x9f\x82\xbf";
constexpr std::string_view SECOND_SIDE_WINS_TEXT = "\x8c\xe3\x8e\xe8\x82\xcc\x8f\x9f\x82\xbf";
constexpr std::string_view DRAW_TEXT = "\x88\xf8\x82\xab\x95\xaa\x82\xaf";
// "！", closing a result reported after a move made in the idle callback
constexpr std::string_view EXCLAMATION_TEXT = "\x81\x49";

static_assert(QUESTION_TEXT.size() == 24 && CHOICES_TEXT.size() == 24, "twelve two-byte glyphs");
static_assert(REPROMPT_TEXT.size() == 17, "seven glyphs, a line break and the prompt");
