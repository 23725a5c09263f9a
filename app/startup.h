// What the viewer builds once its window exists, the tick that drives it,
// and what it releases at exit.
#pragma once

// The 800 by 600 window with its title ("Varnel" in the classic mode); its
// GL context is current after.
void openWindow(int* argc, char** argv, const char* title);
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
