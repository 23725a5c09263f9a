// What the viewer builds once its window exists, the tick that drives it,
// and what it releases at exit.
#pragma once

#include <string>

#include "app/command_line.h"

// Real milliseconds between two ticks, each a physics step of a tenth of a
// simulated second.
constexpr unsigned TICK_MS = 17;

// The classic mode: the help as code page 932 bytes, then qemi_one.mqo from
// the working folder.
void startClassicMode();
// Model mode: the model the user named, or, when it can't be opened, one
// line on standard error and the end of the program with status 1. Then the
// help in the locale's encoding, and the model read.
void startModelMode(const CommandLine& commandLine);
// "Varnel", and in model mode " - " and the model's file name.
std::string windowTitle(const CommandLine& commandLine);

// The window of the command line's size (800 by 600 unless it says) with
// its title ("Varnel" in the classic mode); its GL context is current after.
void openWindow(int* argc, char** argv, const CommandLine& commandLine);
// Display, reshape, mouse button, keyboard, mouse drag and special keys.
void registerCallbacks();
// Arms the next tick in 17 ms.
void startTimer();
// View, lights, GL state, textures, display lists and the physics world, in
// that order. Needs the window's GL context.
void initScene();
// Every 17 ms: one physics step of 0.1 and a redraw, then re-arms itself.
void timerTick(int value);
// Run by the runtime at exit: the physics world goes before the collision
// arrays it reads, then the model document.
void shutdown();
