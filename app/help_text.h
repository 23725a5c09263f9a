// The console help printed at start-up, before anything else happens.
#pragma once

void printHelp();
