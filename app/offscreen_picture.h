// The scene in a picture offscreen, set up as a window would have it: the
// context opened, the scene built and framed for the picture's size, the
// projection set as the window's first reshape sets it.
#pragma once

#include <string>

#include "app/command_line.h"

// False with `problem` set when no offscreen context can be had here.
// The model's scene, read before, is built in the picture.
bool openOffscreenPicture(int width, int height, std::string& problem);
// The command line's screenshot drawn offscreen; ends the process with
// status 0, or 1 after one line on standard error.
[[noreturn]] void photographOffscreen(const CommandLine& commandLine);
