// A picture of the scene instead of a window to play with: the scene runs
// for a given time at the normal tick rate without waiting for the clock,
// one frame is drawn, and the frame is written as a PNG file.
#pragma once

#include "app/command_line.h"

// Replaces the display callback: the first frame is the screenshot the
// command line asks for. The timer must not be started.
void photographOnFirstFrame(const CommandLine& commandLine);
// Offscreen, with the scene built and the picture sized: the screenshot at
// once. Ends the process with status 0, or 1 when the file can't be written.
[[noreturn]] void photographNow(const CommandLine& commandLine);
// One frame; with `clearBackground` the model alone, over transparent black.
void drawPicture(bool clearBackground);
// The frame just drawn, as it is in the buffer it was drawn into: RGB, or
// RGBA with `withAlpha`. False when the file can't be written.
bool writeFramePicture(const char* path, bool withAlpha);
