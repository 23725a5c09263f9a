// The window's input callbacks: reshape, mouse buttons and drags, keys.
#pragma once

void reshapeWindow(int width, int height);
void mouseButton(int button, int state, int x, int y);
void mouseDrag(int x, int y);
void specialKey(int key, int x, int y);
void keyboardKey(unsigned char key, int x, int y);
