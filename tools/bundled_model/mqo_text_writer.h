// Writes a built model as Metasequoia text: the header, a Scene chunk, the
// materials and the objects, with CR LF line ends as the modeller writes
// them. Objects marked so get their vertices as a binary BVertex block.
#pragma once

#include <string>

#include "tools/bundled_model/model_builder.h"

std::string writeModelText(const BuiltModel& model);
