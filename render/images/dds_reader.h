// DDS pictures, for the extended formats: the top level of a flat texture,
// stored top row first, in DXT1 (with its cut-out pixels as alpha), DXT3 or
// DXT5, named by their four-character code or by the extended header as
// BC1, BC2 or BC3; or uncompressed in 8, 16, 24 or 32 bits a pixel told by
// bit masks: colour (A8R8G8B8, X8R8G8B8, A8B8G8R8, R8G8B8, R5G6B5, A1R5G5B5,
// A4R4G4B4 and the like) or luminance, each with or without alpha. The
// smaller levels after the top one are passed over. Cube maps, volume
// textures, texture arrays, premultiplied alpha, other pixel formats and
// files that end inside the top level are refused, with the reason.
#pragma once

#include "render/images/image_reader.h"

class DdsReader : public ImageReader {
public:
    DdsReader();

private:
    int32_t decode(const uint8_t* bytes, size_t size) override;
};
