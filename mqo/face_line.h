// One line of a face block, read in one of two ways: straight from its bytes
// when it is plain (most are), or from its tokens. Both give the same face
// for every plain line; the tokens decide the others. The face goes straight
// into the object's face list.
#pragma once

#include <cstdint>
#include <string_view>

#include "mqo/line_tokenizer.h"
#include "mqo/records.h"

// Appends the face of a plain face line to `object`; false, leaving the
// object as it was, when the line is not plain. Materials from
// `materialCount` on are none; without `wholeFaces` only the first four
// corners are kept.
bool readPlainFaceLine(std::string_view text, ObjectRecord& object, int32_t materialCount, bool wholeFaces);
// Appends the face of the line cut into `line`'s tokens; false when it is
// passed over (its vertex group lacks its parentheses). A line that is no
// face line fails the read.
bool readFaceLine(const LineTokenizer& line, ObjectRecord& object, int32_t materialCount, bool wholeFaces);
