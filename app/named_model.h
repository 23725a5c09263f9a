// The model a user names on a command line, opened and read for model mode.
// What fails is told in one line on standard error that starts with the
// program's name: the viewer goes on with an empty scene and shows the
// failure in its window, the thumbnailer gives up.
#pragma once

#include <cstdio>
#include <string>

#include "model/loaded_model.h"

// The model's file, or null after the line that says why it can't be
// opened. Console text is in the locale's encoding from here on.
FILE* openNamedModel(const char* program, const char* path);
// Model mode for the model at `path`, its textures found beside it; a still
// model keeps the simulation paused.
void useModelMode(const char* path, bool separateParts, bool still);
// Reads the model from `file`, which it closes. False after the message
// that says where reading stopped, or why an archive gives no model; the
// model loaded before stays then.
bool readNamedModel(FILE* file, const std::string& path);
// Tells the user where and why the model at `path` could not be read.
void reportReadFailure(const std::string& path, const ModelReadFailure& failure);
