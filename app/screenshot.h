// A picture of the scene instead of a window to play with: the scene runs
// for a given time at the normal tick rate without waiting for the clock,
// one frame is drawn, and the window's picture is written as a PNG file.
#pragma once

// Replaces the display callback: the first frame runs the ticks, draws,
// writes `path` and ends the process with status 0 (1 when the file can't
// be written). The timer must not be started.
void photographOnFirstFrame(const char* path, double seconds);
// Writes the frame just drawn, read back from the buffer that is about to be
// shown, as a PNG file at `path`; false when it can't be written.
bool writeFramePicture(const char* path);
