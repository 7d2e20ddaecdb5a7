// Real pointer moves over a window, sent as input and paced so that the window handles each one on its own.
#pragma once

#include <windows.h>

#include <span>

// Moves the pointer in batches of `batch` moves, each batch wandering a pixel
// at a time around one spot (client pixels), the spots taken in turn: moves
// number first to first + count - 1 of that endless walk. After each move it
// waits for the window's thread to answer a WM_NULL; false if the window stopped answering.
bool movePointer(HWND window, std::span<const POINT> spots, int first, int count, int batch);

// The pacing alone: `count` WM_NULL round trips with no move, to subtract.
bool pingWindow(HWND window, int count);

// Puts the pointer in the screen's top-left corner, away from where windows appear.
void parkPointer();

// Brings the window to the front, so that the pointer's messages go to it.
void bringToFront(HWND window);
