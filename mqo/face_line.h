// One line of a face block, read in one of two ways: straight from its bytes
// when it is plain (most are), or from its tokens. Both give the same face
// for every plain line; the tokens decide the others.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "mqo/face_record.h"
#include "mqo/line_tokenizer.h"

// One face line's corners on their way to the object; reused line after
// line, so that reading a face allocates nothing.
struct FaceLine {
    int32_t materialIndex = -1;
    std::vector<int32_t> vertices;
    std::vector<TexturePoint> uvs;  // empty without a UV group
    std::vector<uint32_t> colours;  // empty without a COL group
};

// Reads a plain face line into `face`: false, for readFaceLine to decide,
// when the line is not plain. Materials from `materialCount` on are none;
// without `wholeFaces` only the first four corners are kept.
bool readPlainFaceLine(std::string_view text, FaceLine& face, int32_t materialCount, bool wholeFaces);
// Reads the face line cut into `line`'s tokens: false when it is passed over
// (its vertex group lacks its parentheses). A line that is no face line
// fails the read.
bool readFaceLine(const LineTokenizer& line, FaceLine& face, int32_t materialCount, bool wholeFaces);
