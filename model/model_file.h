// Opening a model file without ever waiting on it: a FIFO or a
// device would block a plain open, and a folder reads as nothing.
#pragma once

#include <cstdio>
#include <string>

// Opens `path` for binary reading when it is a regular file. Otherwise
// returns null and, when `problem` is given, says why in a few words
// ("No such file or directory", "Is a directory", "not a regular file").
FILE* openModelFile(const char* path, std::string* problem = nullptr);
