// The window callbacks that drive the game: the human's keys and the computer's turns.
#pragma once

// Character code of the Enter key as GLUT reports it.
constexpr unsigned char ENTER_KEY = 13;

// GLUT keyboard callback: pole keys select, Enter asks the side to move to play.
void keyPressed(unsigned char key, int x, int y);

// GLUT idle callback: one computer move per call while a computer is to move.
void computerTurn();
