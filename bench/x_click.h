// A click on the program's window sent through the X server from a second
// connection, as a person's click arrives (kept apart from the game's
// headers, which X's own names would clash with).
#pragma once

// Sends a left press and release at window pixel (x, y) to the program's one
// SDL window; returns the steady-clock millisecond at which it was sent, or
// -1 when there is no X window.
double clickThroughX(int x, int y);
