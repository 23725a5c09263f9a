// What model mode's window shows over the scene: the messages for the user,
// a line each, the help with every key, and the information line. Drawn in
// the window only, never into a screenshot.
#pragma once

// Draws the overlay over the frame just drawn, and counts the frame for
// the frames a second of the information line.
void drawOverlay();
