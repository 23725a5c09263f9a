// The console help printed at start-up, before anything else happens.
#pragma once

// The help as code page 932 bytes, as the classic mode always wrote it.
void printHelp();
// The same help in the encoding of the user's locale, then every key of
// model mode, for model mode.
void printModelModeHelp();
