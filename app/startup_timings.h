// How long start-up took, phase by phase, for `--timings`: from the start of
// the program to the first frame on the screen.
#pragma once

// Starts the clock; phases are only reported when `report` is set.
void startTimings(bool report);
// Ends the phase running since the last mark, under `name`.
void endPhase(const char* name);
// After the first frame: writes the phases to standard error, once.
void reportTimings();
