// An OpenGL context with no window and no display: Mesa's EGL on its
// surfaceless platform, desktop OpenGL in the compatibility profile so that
// the viewer's fixed-function drawing runs unchanged, and a frame buffer
// object of the picture's size, with colour and alpha and a depth buffer,
// bound for drawing and reading.
#pragma once

#include <string>

// False with `problem` set when no such context can be had here. The
// context lasts as long as the process: its picture is drawn and read until
// the end.
bool openOffscreenContext(int width, int height, std::string& problem);
