// Text on its way to the console. The classic mode writes its texts as the
// code page 932 bytes they always were; model mode writes in the encoding of
// the user's locale, converting names from the model's code page.
#pragma once

#include <string>
#include <string_view>

// Copies `bytes` with every control byte (below 0x20, and 0x7F) as '?', so
// that a name read from a model file cannot drive the user's terminal.
std::string printableName(std::string_view bytes);

// `bytes`, written in the character set `from`, converted to the character
// set `to` (iconv names such as "CP932" or "UTF-8"); what can't be
// converted becomes '?', one byte at a time.
std::string convertText(std::string_view bytes, const char* from, const char* to);

// Takes the encoding of the console from the user's locale (LC_CTYPE).
void useLocaleEncoding();
// `bytes`, written in the character set `codeset` (an iconv name such as
// "CP932" or "UTF-8"), in the console's encoding; control bytes become '?'
// and characters the console can't show become '?' as well.
std::string consoleText(std::string_view bytes, const char* codeset);
