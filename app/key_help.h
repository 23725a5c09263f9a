// Model mode's keys and mouse, a line each, as the console help at start-up
// and the window's help overlay list them.
#pragma once

#include <span>

std::span<const char* const> modelModeKeys();
