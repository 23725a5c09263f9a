// The model the viewer opens by default: a textured table hinged to a brick
// house and a round road sign, laid out left to right for the viewer's
// fixed camera, every object resting on y = 0.
#pragma once

#include <string>
#include <vector>

#include "tools/bundled_model/model_builder.h"
#include "tools/bundled_model/picture_files.h"

struct GeneratedFile {
    std::string path;  // relative to the output folder, '/' between parts
    FileBytes bytes;
};

BuiltModel buildBundledScene();
// qemi_one.mqo and every texture it names under Texture/.
std::vector<GeneratedFile> bundledModelFiles();
